#include "core/ModGSCore.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <new>
#include <stdexcept>
#include <system_error>
#include <typeinfo>
#include <variant>

#include "core/CNumText.h"
#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/modResStr.h"

namespace vellcfgrdr {

namespace {

constexpr const char* kGenericErrorText = "Application-defined or object-defined error";
constexpr const char* kGenericErrorTextFr = "Erreur définie par l'application ou par l'objet";
constexpr const char* kNullPointerText = "Null Pointer Exception";
constexpr size_t kTraceSourceWidth = 20;

struct ErrorTextEntry {
    int32_t number;
    const char* text;
    const char* french;
};

// The run-time error texts of the numbers the component raises or may meet,
// in both languages of the message table.
constexpr ErrorTextEntry kErrorTexts[] = {
    {3, "Return without GoSub", "Return sans GoSub"},
    {5, "Invalid procedure call or argument", "Appel de procédure ou argument incorrect"},
    {6, "Overflow", "Dépassement de capacité"},
    {7, "Out of memory", "Mémoire insuffisante"},
    {9, "Subscript out of range", "L'indice n'appartient pas à la sélection"},
    {10, "This array is fixed or temporarily locked",
     "Ce tableau est fixe ou temporairement verrouillé"},
    {11, "Division by zero", "Division par zéro"},
    {13, "Type mismatch", "Incompatibilité de type"},
    {14, "Out of string space", "Espace de chaîne insuffisant"},
    {16, "Expression too complex", "Expression trop complexe"},
    {17, "Can't perform requested operation", "Impossible d'exécuter l'opération requise"},
    {18, "User interrupt occurred", "Interruption par l'utilisateur"},
    {20, "Resume without error", "Reprise sans erreur"},
    {28, "Out of stack space", "Espace pile insuffisant"},
    {35, "Sub or Function not defined", "Sub ou Function non définie"},
    {48, "Error in loading DLL", "Erreur de chargement de DLL"},
    {51, "Internal error", "Erreur interne"},
    {52, "Bad file name or number", "Nom ou numéro de fichier incorrect"},
    {53, "File not found", "Fichier introuvable"},
    {54, "Bad file mode", "Mode d'accès au fichier incorrect"},
    {55, "File already open", "Fichier déjà ouvert"},
    {57, "Device I/O error", "Erreur d'entrée/sortie de périphérique"},
    {58, "File already exists", "Fichier déjà existant"},
    {59, "Bad record length", "Longueur d'enregistrement incorrecte"},
    {61, "Disk full", "Disque plein"},
    {62, "Input past end of file", "Entrée au-delà de la fin du fichier"},
    {63, "Bad record number", "Numéro d'enregistrement incorrect"},
    {67, "Too many files", "Trop de fichiers"},
    {68, "Device unavailable", "Périphérique non disponible"},
    {70, "Permission denied", "Permission refusée"},
    {71, "Disk not ready", "Disque non prêt"},
    {74, "Can't rename with different drive", "Impossible de renommer avec un lecteur différent"},
    {75, "Path/File access error", "Erreur d'accès au chemin/fichier"},
    {76, "Path not found", "Chemin introuvable"},
    {91, "Object variable or With block variable not set",
     "Variable objet ou variable de bloc With non définie"},
    {92, "For loop not initialized", "Boucle For non initialisée"},
    {93, "Invalid pattern string", "Chaîne de modèle incorrecte"},
    {94, "Invalid use of Null", "Utilisation incorrecte de Null"},
    {321, "Invalid file format", "Format de fichier incorrect"},
    {322, "Can't create necessary temporary file",
     "Impossible de créer le fichier temporaire nécessaire"},
    {325, "Invalid format in resource file", "Format incorrect dans le fichier ressource"},
    {326, "Resource with identifier not found", "Ressource avec cet identificateur introuvable"},
    {380, "Invalid property value", "Valeur de propriété incorrecte"},
    {381, "Invalid property-array index", "Index de tableau de propriétés incorrect"},
    {424, "Object required", "Objet requis"},
    {438, "Object doesn't support this property or method",
     "Cet objet ne gère pas cette propriété ou méthode"},
    {445, "Object doesn't support this action", "Cet objet ne gère pas cette action"},
    {448, "Named argument not found", "Argument nommé introuvable"},
    {449, "Argument not optional or invalid property assignment",
     "Argument non facultatif ou affectation de propriété incorrecte"},
    {450, "Wrong number of arguments or invalid property assignment",
     "Nombre d'arguments incorrect ou affectation de propriété incorrecte"},
    {451, "Object not a collection", "Cet objet n'est pas une collection"},
    {452, "Invalid ordinal", "Numéro d'ordre incorrect"},
    {457, "This key is already associated with an element of this collection",
     "Cette clé est déjà associée à un élément de cette collection"},
    {458, "Variable uses a type not supported", "La variable utilise un type non géré"},
};

CVellError FromStd(int32_t number, const char* what) {
    std::string description = ModGSCore::StandardErrorText(number);
    if (what && *what) description += std::string(" - ") + what;
    return CVellError(number, std::move(description));
}

}  // namespace

bool ModGSCore::DebugModeFromValue(std::string_view value) {
    value = CUtf8::Left(value, 255);
    return !value.empty() && CNumText::Val(value) != 0.0;
}

bool ModGSCore::IsDebugMode() {
    static const bool on = [] {
        const char* v = std::getenv("Debugmode");
        return v != nullptr && DebugModeFromValue(v);
    }();
    return on;
}

std::string ModGSCore::FormatTrace(std::string_view text, std::string_view source) {
    std::string line;
    if (source.empty()) source = program_invocation_short_name;
    const size_t width = CUtf8::Length(source);
    if (width < kTraceSourceWidth) line.append(kTraceSourceWidth - width, ' ');
    line.append(source);
    line.append(" : ");
    line.append(text);
    return line;
}

namespace {

struct TraceSink {
    std::mutex mutex;
    ModGSCore::TraceHandler handler;
};

TraceSink& Sink() {
    static TraceSink sink;
    return sink;
}

// A copy of the handler is called, so that a handler may replace itself.
bool SendToHandler(std::string_view text, std::string_view source) {
    ModGSCore::TraceHandler handler;
    {
        const std::lock_guard lock(Sink().mutex);
        handler = Sink().handler;
    }
    if (!handler) return false;
    handler(std::string(text), std::string(source));
    return true;
}

}  // namespace

void ModGSCore::SetTraceHandler(TraceHandler handler) {
    const std::lock_guard lock(Sink().mutex);
    Sink().handler = std::move(handler);
}

void ModGSCore::DebugTrace(std::string_view text, std::string_view source) {
    if (text.empty() || !IsDebugMode()) return;
    if (SendToHandler(text, source)) return;
    std::string line = FormatTrace(text, source);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void ModGSCore::Assert(bool condition, std::string_view text, const Where& where,
                       std::string_view procName) {
    if (condition) return;
    std::string msg = "Assertion failed in " + WhereText(where, procName) + " : ";
    msg.append(text);
    // There is no dialog here: in debug mode the critical message goes to
    // standard error, otherwise it is a (silent) trace.
    if (IsDebugMode()) {
        msg.insert(0, "CRITICAL: ");
        if (SendToHandler(msg, {})) return;
        msg.push_back('\n');
        std::fwrite(msg.data(), 1, msg.size(), stderr);
    } else {
        DebugTrace(msg);
    }
}

std::string ModGSCore::WhereText(const Where& where, std::string_view procName) {
    std::string out = where.Text();
    if (!procName.empty()) {
        out.push_back('.');
        out.append(procName);
    }
    return out;
}

const char* ModGSCore::StandardErrorText(int32_t number) noexcept {
    // The table is sorted by number.
    size_t lo = 0, hi = std::size(kErrorTexts);
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (kErrorTexts[mid].number < number)
            lo = mid + 1;
        else
            hi = mid;
    }
    const bool french = modResStr::GetGuiLanguage() == eguiLangFrench;
    if (lo < std::size(kErrorTexts) && kErrorTexts[lo].number == number)
        return french ? kErrorTexts[lo].french : kErrorTexts[lo].text;
    return french ? kGenericErrorTextFr : kGenericErrorText;
}

void ModGSCore::RaiseError(std::string_view detail, int32_t number) {
    std::string description = StandardErrorText(number);
    description += " - ";
    description.append(detail);
    throw CVellError(number, std::move(description));
}

void ModGSCore::RaiseOsError(int code, std::string_view detail, ErrNum::Subject subject) {
    const int32_t number = ErrNum::FromErrno(code, subject);
    std::string description = StandardErrorText(number);
    description += " - ";
    description.append(detail);
    CVellError err(number, std::move(description));
    err.SetOsError(code);
    throw err;
}

CVellError ModGSCore::CurrentError() {
    // Outside a handler there is nothing to rethrow, and "throw;" would end
    // the process.
    if (!std::current_exception())
        return CVellError(ErrNum::kInternal, StandardErrorText(ErrNum::kInternal));
    try {
        throw;
    } catch (const CVellError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return CVellError(ErrNum::kOutOfMemory, StandardErrorText(ErrNum::kOutOfMemory));
    } catch (const std::length_error& e) {
        return FromStd(ErrNum::kOutOfMemory, e.what());
    } catch (const std::out_of_range& e) {
        return FromStd(ErrNum::kSubscript, e.what());
    } catch (const std::invalid_argument& e) {
        return FromStd(ErrNum::kInvalidCall, e.what());
    } catch (const std::overflow_error& e) {
        return FromStd(ErrNum::kOverflow, e.what());
    } catch (const std::underflow_error& e) {
        return FromStd(ErrNum::kOverflow, e.what());
    } catch (const std::range_error& e) {
        return FromStd(ErrNum::kOverflow, e.what());
    } catch (const std::bad_variant_access& e) {
        return FromStd(ErrNum::kTypeMismatch, e.what());
    } catch (const std::bad_cast& e) {
        return FromStd(ErrNum::kTypeMismatch, e.what());
    } catch (const std::system_error& e) {
        const bool isErrno = e.code().category() == std::generic_category() ||
                             e.code().category() == std::system_category();
        CVellError err =
            FromStd(isErrno ? ErrNum::FromErrno(e.code().value()) : ErrNum::kDeviceIo, e.what());
        if (isErrno) err.SetOsError(e.code().value());
        return err;
    } catch (const std::exception& e) {
        return FromStd(ErrNum::kInternal, e.what());
    } catch (...) {
        return CVellError(ErrNum::kInternal, StandardErrorText(ErrNum::kInternal));
    }
}

void ModGSCore::ReRaise(const Where& where, std::string_view procName, std::string_view extra) {
    CVellError err = CurrentError();
    if (err.Description() == StandardErrorText(ErrNum::kObjectNotSet))
        err.SetDescription(kNullPointerText);
    if (!extra.empty()) err.SetDescription(err.Description() + " " + std::string(extra));
    if (err.Source().find(" > ") == std::string::npos)
        err.SetSource(err.Source() + " > " + WhereText(where, procName));
    throw err;
}

std::string ModGSCore::ErrorText(const Where& where, std::string_view procName,
                                 std::string_view extra) {
    const CVellError err = CurrentError();
    std::string src = err.Source();
    if (src.find(" > ") == std::string::npos) src += " > " + WhereText(where, procName);
    std::string description = err.Description();
    if (description == StandardErrorText(ErrNum::kObjectNotSet)) description = kNullPointerText;
    std::string text = description + " (Err=" + std::to_string(err.Number()) + ") " + src;
    if (err.LineNumber() != 0) text += ", near line " + std::to_string(err.LineNumber());
    if (err.OsError() != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(err.OsError()));
        text += std::string(" (Last DLL Error=") + hex + "  " + ApiErrorText(err.OsError()) + ") ";
    }
    if (!extra.empty()) {
        text += " - ";
        text.append(extra);
    }
    return std::string(CUtf8::Trim(text));
}

std::string ModGSCore::ApiErrorText(int32_t code) {
    std::string text = std::system_category().message(code);
    if (text.size() > 2048) text.resize(2048);
    for (size_t p; (p = text.find("\r\n")) != std::string::npos;)
        text.erase(p, 2);
    return text;
}

}  // namespace vellcfgrdr
