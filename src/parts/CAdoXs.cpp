#include "parts/CAdoXs.h"

#include <glib.h>
// glib first: mdbtools.h uses its types without including it.
#include <mdbtools.h>
#include <sys/stat.h>

#include <cstring>
#include <variant>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "support/CFileSys.h"

namespace vellcfgrdr {

namespace {

const Where kWhere = Where::Object("CAdoXs");

// mdbtools takes a table whose usage map is empty as having none and then
// reads through the missing map at the first row fetched: such a table is
// refused before a row is fetched from it.
bool HasUsageMap(const MdbTableDef* table) {
    return table && table->usage_map && table->map_sz > 0;
}

// The system table that lists the others, read as the catalogue reader
// reads it, so that a broken one is refused before that reader runs on it.
bool CatalogueTableReadable(MdbHandle* mdb) {
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = 2;
    g_strlcpy(entry.object_name, "MSysObjects", sizeof entry.object_name);
    MdbTableDef* table = mdb_read_table(&entry);
    const bool readable = HasUsageMap(table);
    if (table) mdb_free_tabledef(table);
    return readable;
}

constexpr std::string_view kAceProvider = "Provider=Microsoft.ACE.OLEDB.12.0;";
constexpr std::string_view kJetProvider = "Provider=Microsoft.Jet.OLEDB.4.0;";
constexpr std::string_view kDataTemplate = "Data Source=%db%;Persist Security Info=False";

// A long value's 12-byte header: the length in the low 30 bits of its first
// four bytes (the top two are the storage kind), then the page/row pointer.
constexpr size_t kLongValueHeader = MDB_MEMO_OVERHEAD;
constexpr uint32_t kLongValueInline = 0x80000000u;
constexpr uint32_t kLongValueLengthMask = 0x3FFFFFFFu;
// libmdb copies each piece of a long value into the column's bound buffer:
// one page at most, but the page size comes from the file, so leave room.
constexpr size_t kPieceBuffer = 4 * MDB_PGSIZE;

[[noreturn]] void Fail(int32_t number, const std::string& detail) {
    ModGSCore::RaiseError(detail, number);
}

// ---- the query ------------------------------------------------------------

struct QueryText {
    std::vector<std::string> columns;  // empty: every column
    std::string table;
    std::string whereColumn;  // empty: no filter
    std::variant<int64_t, std::string> literal;
};

class SqlTokens {
  public:
    explicit SqlTokens(std::string_view sql) : sql_(sql) {}

    // The next token: a name (brackets removed), a number, a quoted text
    // (kept with its quote), or one punctuation character; "" at the end.
    std::string Next() {
        while (pos_ < sql_.size() && (sql_[pos_] == ' ' || sql_[pos_] == '\t' ||
                                      sql_[pos_] == '\r' || sql_[pos_] == '\n'))
            ++pos_;
        if (pos_ >= sql_.size()) return {};
        const char c = sql_[pos_];
        if (c == '[') {
            const size_t end = sql_.find(']', pos_);
            if (end == std::string_view::npos) Bad();
            std::string name(sql_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = end + 1;
            return name;
        }
        if (c == '\'') {
            std::string text = "'";
            for (++pos_;; ++pos_) {
                if (pos_ >= sql_.size()) Bad();
                if (sql_[pos_] == '\'') {
                    if (pos_ + 1 < sql_.size() && sql_[pos_ + 1] == '\'') {
                        text += '\'';
                        ++pos_;
                        continue;
                    }
                    ++pos_;
                    return text;
                }
                text += sql_[pos_];
            }
        }
        const size_t start = pos_;
        if (IsWordChar(c) || (c == '-' && pos_ + 1 < sql_.size() && IsDigit(sql_[pos_ + 1]))) {
            ++pos_;
            while (pos_ < sql_.size() && IsWordChar(sql_[pos_]))
                ++pos_;
        } else {
            ++pos_;
        }
        return std::string(sql_.substr(start, pos_ - start));
    }

    [[noreturn]] void Bad() const {
        Fail(ErrNum::kInvalidCall, "query not understood: " + std::string(sql_));
    }

  private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsWordChar(char c) {
        return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
               static_cast<unsigned char>(c) >= 0x80;
    }

    std::string_view sql_;
    size_t pos_ = 0;
};

QueryText ParseQuery(std::string_view sql) {
    SqlTokens tokens(sql);
    QueryText q;
    if (!CUtf8::EqualsNoCase(tokens.Next(), "select")) tokens.Bad();
    std::string t = tokens.Next();
    if (t == "*") {
        t = tokens.Next();
    } else {
        for (;;) {
            if (t.empty() || t == "," || CUtf8::EqualsNoCase(t, "from")) tokens.Bad();
            q.columns.push_back(t);
            t = tokens.Next();
            if (t != ",") break;
            t = tokens.Next();
        }
    }
    if (!CUtf8::EqualsNoCase(t, "from")) tokens.Bad();
    q.table = tokens.Next();
    if (q.table.empty() || q.table == ",") tokens.Bad();
    t = tokens.Next();
    if (CUtf8::EqualsNoCase(t, "where")) {
        q.whereColumn = tokens.Next();
        if (q.whereColumn.empty() || tokens.Next() != "=") tokens.Bad();
        const std::string value = tokens.Next();
        if (value.starts_with('\'')) {
            q.literal = value.substr(1);
        } else {
            size_t used = 0;
            try {
                q.literal = static_cast<int64_t>(std::stoll(value, &used));
            } catch (const std::exception&) {
                tokens.Bad();
            }
            if (used != value.size()) tokens.Bad();
        }
        t = tokens.Next();
    }
    if (t == ";") t = tokens.Next();
    if (!t.empty()) tokens.Bad();
    return q;
}

// ---- stored text ----------------------------------------------------------

// Text as stored: UTF-16LE, or after FF FE the compressed form, one byte a
// character, in which each 0x00 switches between one- and two-byte
// characters.
std::u16string DecodeStoredText(const uint8_t* p, size_t n) {
    std::u16string out;
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        out.reserve(n - 2);
        bool oneByte = true;
        for (size_t i = 2; i < n;) {
            if (p[i] == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                out.push_back(p[i++]);
            } else {
                if (i + 1 >= n)
                    Fail(ErrNum::kDeviceIo, "a stored text value ends inside a character");
                out.push_back(static_cast<char16_t>(p[i] | (p[i + 1] << 8)));
                i += 2;
            }
        }
        return out;
    }
    if (n % 2 != 0) Fail(ErrNum::kDeviceIo, "a stored text value ends inside a character");
    out.resize(n / 2);
    for (size_t i = 0; i < n / 2; ++i)
        out[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    return out;
}

}  // namespace

// ---- the connection -------------------------------------------------------

struct CAdoXs::Db {
    MdbHandle* mdb = nullptr;
    ~Db() {
        if (mdb) mdb_close(mdb);
    }
};

CAdoXs::CAdoXs() = default;

CAdoXs::~CAdoXs() {
    try {
        CloseDb();
    } catch (...) {
    }
}

std::string CAdoXs::ConnectionString(std::string_view dbPath) {
    std::string out(CUtf8::EqualsNoCase(CFileSys::FileExtension(dbPath, false), "accdb")
                        ? kAceProvider
                        : kJetProvider);
    const std::string_view key = "%db%";
    std::string_view rest = kDataTemplate;
    for (size_t at; (at = CUtf8::FindNoCase(rest, key)) != std::string_view::npos;) {
        out.append(rest.substr(0, at));
        out.append(dbPath);
        rest.remove_prefix(at + key.size());
    }
    out.append(rest);
    return out;
}

bool CAdoXs::IsOpen() const noexcept {
    return db_ && db_->mdb;
}

void CAdoXs::OpenDb(const std::string& dbPath) {
    try {
        if (IsOpen()) return;
        connectionString_ = ConnectionString(dbPath);
        Connect(dbPath);
    } catch (...) {
        Fault("OpenDb");
    }
}

void CAdoXs::Connect(const std::string& dbPath) {
    try {
        if (!db_) db_ = std::make_unique<Db>();
        struct stat st {};
        if (::stat(dbPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            Fail(ErrNum::kFileNotFound, "no database file");
        // Opened directly: the SQL layer's opener would retry with ".mdb"
        // appended and report any unreadable file as missing.
        MdbHandle* mdb = mdb_open(dbPath.c_str(), MDB_NOFLAGS);
        if (!mdb) Fail(ErrNum::kPathFileAccess, "the file is no readable Access database");
        // A file cut short opens (its header page is there) but has no
        // readable catalogue.
        if (!CatalogueTableReadable(mdb) || !mdb_read_catalog(mdb, MDB_TABLE)) {
            mdb_close(mdb);
            Fail(ErrNum::kDeviceIo, "the database's catalogue cannot be read");
        }
        db_->mdb = mdb;
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "Connect");
    }
}

void CAdoXs::CloseDb() {
    try {
        db_.reset();
    } catch (...) {
        ModGSCore::ReRaise(kWhere, "CloseDb");
    }
}

void CAdoXs::Fault(const char* procName) {
    // What a provider reports beside the error: the failure and the
    // connection it happened on, for the user to see without debug mode.
    const CVellError e = ModGSCore::CurrentError();
    EvtAdoInfoMessage.Raise(AdoInfoText(e.Number(), e.Description()));
    ModGSCore::ReRaise(kWhere, procName);
}

std::string CAdoXs::AdoInfoText(int32_t status, std::string_view description) const {
    return "ADO Error " + std::to_string(status) + ": " + std::string(description) +
           " in connection " + connectionString_;
}

std::shared_ptr<CAdoRecordset> CAdoXs::GetRecordSet(std::string_view sql, int32_t mode) {
    try {
        switch (mode) {
            case 1:
                return Query(sql, kLockReadOnly, kCursorKeyset, false);
            case 2:
                return Query(sql, kLockOptimistic, kCursorDynamic, false);
            case 3:
                return Query(sql, kLockOptimistic, kCursorKeyset, true);
            default:
                return Query(sql, kLockOptimistic, kCursorKeyset, false);
        }
    } catch (...) {
        Fault("GetRecordSet");
    }
}

std::shared_ptr<CAdoRecordset> CAdoXs::GetRecordSetEx(std::string_view sql, int32_t lockType,
                                                      int32_t cursorType, bool disconnect) {
    try {
        return Query(sql, lockType, cursorType, disconnect);
    } catch (...) {
        Fault("GetRecordSetEx");
    }
}

namespace {

struct TableGuard {
    MdbTableDef* table;
    ~TableGuard() {
        if (!table) return;
        // Bound buffers belong to us; the table must not keep pointers to them.
        for (unsigned i = 0; i < table->num_cols && table->columns; ++i) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            col->bind_ptr = nullptr;
            col->len_ptr = nullptr;
        }
        mdb_free_tabledef(table);
    }
};

bool IsText(const MdbColumn* col) {
    return col->col_type == MDB_TEXT || col->col_type == MDB_MEMO;
}

// The whole of a memo value from its field bytes (the long-value header,
// and the characters when they are kept in the row). The length read is
// checked against the header: a file cut short reads missing pages as
// zeros, and a damaged page chain could run on without end.
std::vector<uint8_t> ReadLongValue(MdbHandle* mdb, MdbColumn* col, const MdbField& field,
                                   std::vector<uint8_t>& piece) {
    if (field.siz < static_cast<int>(kLongValueHeader))
        Fail(ErrNum::kDeviceIo, "a long value has no header");
    const uint8_t* h = mdb->pg_buf + field.start;
    uint8_t header[kLongValueHeader];
    std::memcpy(header, h, kLongValueHeader);
    const uint32_t word = static_cast<uint32_t>(header[0]) | (header[1] << 8) | (header[2] << 16) |
                          (static_cast<uint32_t>(header[3]) << 24);
    const size_t length = word & kLongValueLengthMask;
    std::vector<uint8_t> out;
    if (word & kLongValueInline) {
        // Kept in the row: the header must not claim more than the row holds.
        if (length != static_cast<size_t>(field.siz) - kLongValueHeader)
            Fail(ErrNum::kDeviceIo, "a long value's length does not match its header");
        if (length == 0) return out;
    }
    col->cur_value_start = field.start;
    col->cur_value_len = field.siz;
    col->bind_ptr = piece.data();
    size_t got = mdb_ole_read(mdb, col, header, piece.size());
    while (got > 0) {
        if (out.size() + got > length) break;
        out.insert(out.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
        if (out.size() == length) break;
        got = mdb_ole_read_next(mdb, col, header);
    }
    col->bind_ptr = nullptr;
    if (out.size() != length)
        Fail(ErrNum::kDeviceIo, "a long value cannot be read whole (" + std::to_string(out.size()) +
                                    " of " + std::to_string(length) + " bytes)");
    return out;
}

}  // namespace

std::shared_ptr<CAdoRecordset> CAdoXs::Query(std::string_view sql, int32_t lockType,
                                             int32_t cursorType, bool disconnect) {
    if (!IsOpen()) Fail(ErrNum::kObjectNotSet, "no open connection");
    MdbHandle* mdb = db_->mdb;
    const QueryText q = ParseQuery(sql);

    TableGuard guard{mdb_read_table_by_name(mdb, const_cast<gchar*>(q.table.c_str()), MDB_TABLE)};
    MdbTableDef* table = guard.table;
    if (!table) Fail(ErrNum::kSubscript, "no table '" + q.table + "'");
    if (!HasUsageMap(table))
        Fail(ErrNum::kDeviceIo, "the pages of table '" + q.table + "' cannot be found");
    if (!mdb_read_columns(table) || table->num_cols > MDB_MAX_COLS)
        Fail(ErrNum::kDeviceIo, "the columns of table '" + q.table + "' cannot be read");

    auto columnIndex = [&](const std::string& name) -> unsigned {
        for (unsigned i = 0; i < table->num_cols; ++i) {
            const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
            if (CUtf8::EqualsNoCase(col->name, name)) return i;
        }
        Fail(ErrNum::kSubscript, "no column '" + name + "' in table '" + q.table + "'");
    };
    std::vector<unsigned> selected;
    if (q.columns.empty())
        for (unsigned i = 0; i < table->num_cols; ++i)
            selected.push_back(i);
    for (const std::string& name : q.columns)
        selected.push_back(columnIndex(name));
    const bool filtered = !q.whereColumn.empty();
    const unsigned filter = filtered ? columnIndex(q.whereColumn) : 0;

    // Text and memo values are taken as stored (libmdb's bound text would
    // end at a character 0, cut long values and show NULL as ""); the
    // others come back as libmdb's text, which needs a bound buffer.
    std::vector<std::vector<char>> bound(table->num_cols);
    std::vector<int> boundLen(table->num_cols);
    std::vector<std::string> names;
    auto prepare = [&](unsigned i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (IsText(col) || !bound[i].empty()) return;
        if (col->col_type == MDB_OLE || col->col_type == MDB_BINARY || col->col_type == MDB_COMPLEX)
            Fail(ErrNum::kTypeMismatch, std::string("column '") + col->name + "' holds no text");
        bound[i].assign(mdb->bind_size + 1, '\0');
        mdb_bind_column(table, static_cast<int>(i) + 1, bound[i].data(), &boundLen[i]);
    };
    for (unsigned i : selected) {
        prepare(i);
        names.emplace_back(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i))->name);
    }
    if (filtered) prepare(filter);

    std::vector<MdbField> fields(MDB_MAX_COLS);
    std::vector<uint8_t> piece(kPieceBuffer);
    std::vector<std::vector<CAdoValue>> rows;
    auto valueOf = [&](unsigned i) -> CAdoValue {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        const MdbField* field = nullptr;
        for (unsigned f = 0; f < table->num_cols; ++f)
            if (fields[f].colnum == static_cast<int>(i)) field = &fields[f];
        if (!field) Fail(ErrNum::kDeviceIo, "a row of table '" + q.table + "' cannot be read");
        if (field->is_null) return CAdoValue();
        if (!IsText(col)) {
            const std::string_view text(bound[i].data());
            return CAdoValue(std::u16string(text.begin(), text.end()));
        }
        if (field->start < 0 || field->siz < 0 ||
            static_cast<size_t>(field->start) + static_cast<size_t>(field->siz) > MDB_PGSIZE)
            Fail(ErrNum::kDeviceIo, "a row of table '" + q.table + "' cannot be read");
        if (col->col_type == MDB_TEXT)
            return CAdoValue(
                DecodeStoredText(mdb->pg_buf + field->start, static_cast<size_t>(field->siz)));
        const std::vector<uint8_t> raw = ReadLongValue(mdb, col, *field, piece);
        return CAdoValue(DecodeStoredText(raw.data(), raw.size()));
    };
    auto matches = [&](const CAdoValue& v) {
        if (v.IsNull()) return false;
        if (const auto* number = std::get_if<int64_t>(&q.literal)) {
            const std::string text = v.Text();
            size_t used = 0;
            try {
                return std::stoll(text, &used) == *number && used == text.size();
            } catch (const std::exception&) {
                return false;
            }
        }
        return CUtf8::EqualsNoCase(v.Text(), std::get<std::string>(q.literal));
    };

    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        // NULL is not in the fetched data: the row's own null flags say it.
        int start = 0;
        size_t size = 0;
        if (table->cur_row == 0 ||
            mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(table, start & 0x1FFF, size, fields.data()) <= 0)
            Fail(ErrNum::kDeviceIo, "a row of table '" + q.table + "' cannot be read");
        if (filtered && !matches(valueOf(filter))) continue;
        std::vector<CAdoValue> row;
        row.reserve(selected.size());
        for (unsigned i : selected)
            row.push_back(valueOf(i));
        rows.push_back(std::move(row));
    }
    return std::make_shared<CAdoRecordset>(std::string(sql), lockType, cursorType, disconnect,
                                           std::move(names), std::move(rows));
}

}  // namespace vellcfgrdr
