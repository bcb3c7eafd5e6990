#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "parts/CAdoRecordset.h"
#include "vellcfgrdr/CEvent.h"

namespace vellcfgrdr {

// One connection to an Access database file (.mdb or .accdb), read-only,
// and the record sets of simple queries on it:
//   select <column>[, <column>...] | * from <table> [where <column> = <literal>]
// (names without regard to letter case, a literal being an integer or a
// 'quoted' text). Queries run as table scans with the filter applied here.
class CAdoXs {
  public:
    // The ADO lock and cursor type values the access modes stand for.
    static constexpr int32_t kLockReadOnly = 1;
    static constexpr int32_t kLockOptimistic = 3;
    static constexpr int32_t kCursorKeyset = 1;
    static constexpr int32_t kCursorDynamic = 2;

    CAdoXs();
    ~CAdoXs();
    CAdoXs(const CAdoXs&) = delete;
    CAdoXs& operator=(const CAdoXs&) = delete;

    // The provider chosen by the extension ("accdb", any letter case, or
    // not) and the unchanged path in the data part.
    static std::string ConnectionString(std::string_view dbPath);

    // Connects unless a connection is open already; that one stays on its
    // database. A missing file raises 53, a file that is no readable
    // database 75, an unreadable catalogue 57.
    void OpenDb(const std::string& dbPath);
    void CloseDb();
    bool IsOpen() const noexcept;
    // The connection string of the open connection, or of the last attempt.
    const std::string& ConnectionStringInUse() const noexcept { return connectionString_; }

    // Mode 1 read-only/keyset, 2 optimistic/dynamic, 3 optimistic/keyset
    // disconnected, others optimistic/keyset.
    std::shared_ptr<CAdoRecordset> GetRecordSet(std::string_view sql, int32_t mode);
    // No open connection raises 91, a query of another form 5, an unknown
    // table or column 9, a value that cannot be read whole 57.
    std::shared_ptr<CAdoRecordset> GetRecordSetEx(std::string_view sql, int32_t lockType,
                                                  int32_t cursorType, bool disconnect);

    // "ADO Error <status>: <description> in connection <connection string>".
    std::string AdoInfoText(int32_t status, std::string_view description) const;

    // Raised with AdoInfoText when OpenDb or a query fails, before the error
    // passes on.
    CEvent<const std::string&> EvtAdoInfoMessage;

  private:
    struct Db;
    // Reports the current error through EvtAdoInfoMessage and passes it on.
    [[noreturn]] void Fault(const char* procName);
    void Connect(const std::string& dbPath);
    std::shared_ptr<CAdoRecordset> Query(std::string_view sql, int32_t lockType, int32_t cursorType,
                                         bool disconnect);

    std::unique_ptr<Db> db_;
    std::string connectionString_;
};

}  // namespace vellcfgrdr
