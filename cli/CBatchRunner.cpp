#include "CBatchRunner.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <new>
#include <thread>

#include "CBatchText.h"
#include "CMessagePrinter.h"
#include "ToolExit.h"
#include "core/ErrNum.h"
#include "output/CHtmlReportWriter.h"
#include "support/CFileWriter.h"

namespace vellcfgrdr {

namespace fs = std::filesystem;

namespace {

// Deeper folders than this are reported, not walked.
constexpr int kMaxDepth = 256;
// Messages kept per file for its report; the counts cover them all.
constexpr size_t kMaxKeptMessages = 5000;

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Extension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : Lower(name.substr(dot + 1));
}

void Write(const std::string& path, const std::string& bytes) {
    CFileWriter::WriteFile(path, bytes, CFileWriter::Options{0666, true, false});
}

std::string Join(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

}  // namespace

CBatchRunner::CBatchRunner(Options options) : options_(std::move(options)) {
    // Outputs never take the names of the batch's own files.
    usedBases_.insert("index");
    usedBases_.insert("summary");
}

void CBatchRunner::AddFile(const std::string& path, const std::string& rel) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(path, ec);
    if (!seenInputs_.insert(ec ? path : canonical.string()).second) return;
    std::string base = rel;
    for (int k = 2; !usedBases_.insert(Lower(base)).second; ++k)
        base = rel + "." + std::to_string(k);
    Result r;
    r.input = path;
    r.base = base;
    results_.push_back(std::move(r));
}

void CBatchRunner::Collect() {
    std::error_code ec;
    const fs::path out = fs::weakly_canonical(options_.outDir, ec);
    const auto fail = [this](const std::string& path, const std::error_code& error) {
        Result r;
        r.input = path;
        r.raised = true;
        r.status = ErrNum::FromErrno(error.value(), ErrNum::Subject::folder);
        r.description = error.message() + ": " + path;
        results_.push_back(std::move(r));
    };
    // Names sorted, so that the order and the output names do not depend on
    // the order the file system lists them in.
    const std::function<void(const fs::path&, const fs::path&, int)> walk =
        [&](const fs::path& dir, const fs::path& rel, int depth) {
            if (depth > kMaxDepth) {
                fail(dir.string(), std::make_error_code(std::errc::filename_too_long));
                return;
            }
            std::error_code err;
            std::vector<fs::directory_entry> entries;
            for (fs::directory_iterator it(dir, err), end; !err && it != end; it.increment(err))
                if (it->path().filename().string().front() != '.') entries.push_back(*it);
            if (err) {
                fail(dir.string(), err);
                return;
            }
            std::sort(entries.begin(), entries.end());
            std::unordered_set<std::string> names;
            for (const fs::directory_entry& e : entries)
                names.insert(Lower(e.path().filename().string()));
            for (const fs::directory_entry& e : entries) {
                const std::string name = e.path().filename().string();
                std::error_code sec;
                const fs::file_status st = e.symlink_status(sec);
                if (fs::is_directory(st)) {
                    std::error_code same;
                    if (!out.empty() && fs::equivalent(e.path(), out, same)) continue;
                    walk(e.path(), rel / name, depth + 1);
                    continue;
                }
                if (CPlcCfgReader::FormatOfFile(name).empty()) continue;
                // A Quern project is read from its .cfg with the .env beside it.
                if (Extension(name) == "env" &&
                    names.contains(Lower(fs::path(name).replace_extension("cfg").string())))
                    continue;
                AddFile(e.path().string(), (rel / name).string());
            }
        };
    for (const std::string& input : options_.inputs) {
        std::error_code err;
        if (fs::is_directory(input, err))
            walk(input, fs::path(), 0);
        else {
            // "file.slc/" has no file name part; its output still needs one.
            const std::string name = fs::path(input).filename().string();
            AddFile(input, name.empty() || name == "." || name == ".." ? "input" : name);
        }
    }
}

void CBatchRunner::ConvertOne(Result& r) const {
    if (r.raised) return;  // a folder that could not be read
    std::vector<CMessageRecord> messages;
    try {
        r.summary.format = CPlcCfgReader::FormatOfFile(r.input);
        CPlcCfgReader reader;
        reader.EvtInfoMessage.Subscribe(
            [&](const std::string& text, eMessageLevel level, const std::string& source) {
                if (level == eMsgWarning) ++r.warnings;
                if (level == eMsgError) ++r.errors;
                if (messages.size() < kMaxKeptMessages) messages.push_back({text, level, source});
            });
        r.status = reader.ReadIOmap(r.input);
        if (r.status != eReadOk) r.description = reader.ErrorDescription(r.status);
        r.summary = reader.Summary();
        const fs::path base = fs::path(options_.outDir) / r.base;
        fs::create_directories(base.parent_path());
        if (r.Converted()) {
            Write(base.string() + ".xml", reader.Xml());
            r.xmlWritten = true;
        }
        if (options_.report) {
            Write(base.string() + ".html", reader.HtmlReport(r.status, messages));
            r.reportWritten = true;
        }
    } catch (const CVellError& e) {
        r.raised = true;
        r.status = e.Number();
        r.description = e.Description() + " (" + e.Source() + ")";
    } catch (const fs::filesystem_error& e) {
        r.raised = true;
        r.status = ErrNum::FromErrno(e.code().value(), ErrNum::Subject::folder);
        r.description = e.what();
    } catch (const std::bad_alloc&) {
        r.raised = true;
        r.status = ErrNum::kOutOfMemory;
        r.description = "Out of memory";
    } catch (const std::exception& e) {
        r.raised = true;
        r.status = ErrNum::kInternal;
        r.description = e.what();
    }
}

bool CBatchRunner::Convert(const std::function<void(const std::vector<size_t>&, size_t)>& progress,
                           const std::atomic<bool>& stop) {
    const size_t n = results_.size();
    unsigned jobs =
        options_.jobs ? options_.jobs : std::max(1u, std::thread::hardware_concurrency());
    jobs = static_cast<unsigned>(std::min<size_t>(jobs, std::max<size_t>(n, 1)));
    std::atomic<size_t> next{0};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<size_t> finished;  // indexes not yet passed to progress
    size_t done = 0;
    unsigned running = jobs;
    std::vector<std::thread> pool;
    for (unsigned j = 0; j < jobs; ++j)
        pool.emplace_back([&] {
            for (size_t i; !stop && (i = next++) < n;) {
                ConvertOne(results_[i]);
                const std::lock_guard lock(mutex);
                finished.push_back(i);
                changed.notify_one();
            }
            const std::lock_guard lock(mutex);
            --running;
            changed.notify_one();
        });
    for (;;) {
        std::vector<size_t> batch;
        bool last;
        {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, std::chrono::milliseconds(100),
                             [&] { return !finished.empty() || running == 0; });
            batch.swap(finished);
            last = running == 0;
        }
        done += batch.size();
        if (progress) progress(batch, done);
        if (last) break;
    }
    for (std::thread& t : pool)
        t.join();
    return done == n;
}

int CBatchRunner::ExitStatus() const noexcept {
    int status = 0;
    for (const Result& r : results_) {
        if (r.raised) return 2;
        if (!r.Converted()) status = 1;
    }
    return status;
}

void CBatchRunner::WriteSummaries() const {
    std::string csv =
        "file,output,report,format,status,outcome,description,plc_family,plc_name,buses,drops,"
        "racks,modules,resolved,ambiguous,unresolved,warnings,errors\r\n";
    std::string json = "{\"files\":[";
    size_t converted = 0, failed = 0, raised = 0;
    std::vector<CHtmlReportWriter::IndexEntry> index;
    for (const Result& r : results_) {
        const char* outcome = r.raised ? "error" : r.Converted() ? "converted" : "failed";
        (r.raised ? raised : r.Converted() ? converted : failed)++;
        const std::string xml = r.xmlWritten ? r.base + ".xml" : "";
        const std::string html = r.reportWritten ? r.base + ".html" : "";
        const CConversionSummary& s = r.summary;
        const int32_t counts[] = {s.buses,     s.drops,      s.racks,    s.modules, s.resolved,
                                  s.ambiguous, s.unresolved, r.warnings, r.errors};
        const char* countNames[] = {"buses",     "drops",      "racks",    "modules", "resolved",
                                    "ambiguous", "unresolved", "warnings", "errors"};
        csv += CBatchText::CsvText(r.input) + "," + CBatchText::CsvText(xml) + "," +
               CBatchText::CsvText(html) + "," + CBatchText::CsvText(s.format) + "," +
               std::to_string(r.status) + "," + outcome + "," + CBatchText::CsvText(r.description) +
               "," + CBatchText::CsvText(s.plcFamily) + "," + CBatchText::CsvText(s.plcName);
        json += std::string(&r == &results_.front() ? "\n" : ",\n") +
                "{\"file\":" + CMessagePrinter::JsonString(r.input) +
                ",\"output\":" + CMessagePrinter::JsonString(xml) +
                ",\"report\":" + CMessagePrinter::JsonString(html) +
                ",\"format\":" + CMessagePrinter::JsonString(s.format) +
                ",\"status\":" + std::to_string(r.status) + ",\"outcome\":\"" + outcome +
                "\",\"description\":" + CMessagePrinter::JsonString(r.description) +
                ",\"plc_family\":" + CMessagePrinter::JsonString(s.plcFamily) +
                ",\"plc_name\":" + CMessagePrinter::JsonString(s.plcName);
        for (size_t k = 0; k < std::size(counts); ++k) {
            csv += "," + std::to_string(counts[k]);
            json += std::string(",\"") + countNames[k] + "\":" + std::to_string(counts[k]);
        }
        csv += "\r\n";
        json += "}";
        index.push_back({r.input, html, r.status, r.raised, r.description, s.plcName, s.modules,
                         s.resolved, s.ambiguous, s.unresolved, r.warnings});
    }
    json += "\n],\"totals\":{\"files\":" + std::to_string(results_.size()) +
            ",\"converted\":" + std::to_string(converted) +
            ",\"failed\":" + std::to_string(failed) + ",\"errors\":" + std::to_string(raised) +
            "}}\n";
    Write(Join(options_.outDir, "summary.csv"), csv);
    Write(Join(options_.outDir, "summary.json"), json);
    if (options_.report)
        Write(Join(options_.outDir, "index.html"), CHtmlReportWriter::WriteIndex(index));
}

namespace {

// Interrupting signals are held in every thread and taken by the main thread
// between conversions: a conversion is never cut off half-way, so no
// temporary file or folder is left behind.
class SignalGate {
  public:
    SignalGate() {
        sigemptyset(&set_);
        for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&set_, sig);
        pthread_sigmask(SIG_BLOCK, &set_, &old_);
    }
    // The signal that came, or 0.
    int Take() {
        const timespec zero{0, 0};
        const int sig = sigtimedwait(&set_, nullptr, &zero);
        return sig > 0 ? sig : 0;
    }
    // Ends the process by the signal, as if it had not been held.
    [[noreturn]] void Deliver(int sig) {
        ::signal(sig, SIG_DFL);
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
        ::raise(sig);
        std::_Exit(128 + sig);
    }
    ~SignalGate() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }

  private:
    sigset_t set_, old_;
};

int TerminalWidth() {
    winsize ws{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 20 ? ws.ws_col : 80;
}

void Err(const std::string& line) {
    CMessagePrinter::Write(line);
}

}  // namespace

int CBatchRunner::Main(int argc, char** argv) {
    Options opt;
    std::string lang, messageForm = "text";
    bool quiet = false;
    CLI::App app{
        "Converts every project of a known format in the folders (recursively) and files "
        "given, several at once, into one exchange XML each, with summary.csv and summary.json.",
        "vellcfgrdr batch"};
    app.add_option("INPUT", opt.inputs, "Folders and project files")->required();
    app.add_option("-o,--output", opt.outDir, "Output folder, made when missing")->required();
    app.add_option("-j,--jobs", opt.jobs, "Conversions at once (default: one per core)")
        ->check(CLI::Range(1u, 1024u));
    app.add_flag("--report", opt.report, "Also write a rack report per project and index.html");
    app.add_option("--messages", messageForm,
                   "Lines on standard error: text, or one JSON object a line (no progress bar)")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    app.add_option("--lang", lang, "Language of the messages")->check(CLI::IsMember({"en", "fr"}));
    app.add_flag("-q,--quiet", quiet, "No progress, no closing line");
    app.footer(
        "Exit status: 0 every file converted (possibly with warnings), 1 a file ended with\n"
        "another status, 2 an error was raised for a file or the output could not be written,\n"
        "64 usage error.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? ToolExit::kOk : ToolExit::kUsage;
    }

    const bool json = messageForm == "json";
    const CMessagePrinter printer(json, quiet);
    // One JSON object: the printer's level, source and text, and more fields.
    const auto jsonLine = [](const char* level, const std::string& text,
                             const std::string& fields) {
        Err(std::string("{\"level\":\"") + level + "\",\"source\":\"vellcfgrdr batch\",\"text\":" +
            CMessagePrinter::JsonString(text) + fields + "}\n");
    };
    try {
        if (!lang.empty())
            CPlcCfgReader::SetLanguage(lang == "fr" ? eguiLangFrench : eguiLangEnglish);
        // The parts knowledge is made once, here, before any thread reads it;
        // a failure there ends the batch with its error.
        { CPlcCfgReader warmUp; }
        std::error_code ec;
        fs::create_directories(opt.outDir, ec);
        if (ec || !fs::is_directory(opt.outDir))
            throw CVellError(ErrNum::FromErrno(ec ? ec.value() : ENOTDIR, ErrNum::Subject::folder),
                             (ec ? ec.message() : std::string("Not a folder")) + ": " + opt.outDir,
                             "vellcfgrdr batch");

        SignalGate gate;
        CBatchRunner runner(opt);
        runner.Collect();
        const size_t total = runner.Results().size();
        const bool bar = !quiet && !json && ::isatty(STDERR_FILENO);
        std::atomic<bool> stop{false};
        int caught = 0;
        std::chrono::steady_clock::time_point lastDraw{};
        const auto progress = [&](const std::vector<size_t>& finished, size_t done) {
            if (!caught && (caught = gate.Take()) != 0) stop = true;
            if (quiet) return;
            if (!bar) {
                for (size_t k = 0; k < finished.size(); ++k) {
                    const Result& r = runner.Results()[finished[k]];
                    if (json) {
                        const char* outcome = r.raised        ? "error"
                                              : r.Converted() ? "converted"
                                                              : "failed";
                        jsonLine(r.raised        ? "error"
                                 : r.Converted() ? "info"
                                                 : "warning",
                                 r.Converted() ? std::string("converted") : r.description,
                                 ",\"file\":" + CMessagePrinter::JsonString(r.input) +
                                     ",\"status\":" + std::to_string(r.status) + ",\"outcome\":\"" +
                                     outcome + "\"");
                        continue;
                    }
                    Err("[" + std::to_string(done - finished.size() + 1 + k) + "/" +
                        std::to_string(total) + "] " + std::to_string(r.status) + " " +
                        CMessagePrinter::Escaped(r.input, false) + "\n");
                }
                return;
            }
            // At most ten redraws a second: a fast batch must not spend its
            // time on the terminal.
            const auto now = std::chrono::steady_clock::now();
            if (done < total && now - lastDraw < std::chrono::milliseconds(100)) return;
            lastDraw = now;
            const int width = TerminalWidth();
            const int cells = std::min(40, width / 3);
            const int filled = total ? static_cast<int>(done * cells / total) : cells;
            std::string line = "\r[" + std::string(filled, '#') + std::string(cells - filled, '.') +
                               "] " + std::to_string(done) + "/" + std::to_string(total);
            if (!finished.empty()) {
                line +=
                    " " + CMessagePrinter::Escaped(
                              fs::path(runner.Results()[finished.back()].input).filename().string(),
                              false);
            }
            // Cut to the terminal width, in characters ("\r" takes none).
            size_t cut = 0;
            for (int shown = -1; cut < line.size(); ++cut)
                if ((static_cast<unsigned char>(line[cut]) & 0xC0) != 0x80 && ++shown >= width)
                    break;
            line.resize(cut);
            Err(line + "\x1b[K");
        };
        const bool complete = runner.Convert(progress, stop);
        if (bar) Err("\n");
        if (!caught) caught = gate.Take();
        if (caught || !complete) {
            if (json)
                jsonLine("error", "interrupted", "");
            else
                Err("vellcfgrdr batch: interrupted\n");
            gate.Deliver(caught ? caught : SIGINT);
        }
        runner.WriteSummaries();
        const int status = runner.ExitStatus();
        if (!quiet) {
            size_t ok = 0, failed = 0, raised = 0;
            for (const Result& r : runner.Results()) {
                (r.raised ? raised : r.Converted() ? ok : failed)++;
                if (bar && !r.Converted())
                    Err((r.raised ? "error: " : "failed: ") +
                        CMessagePrinter::Escaped(r.input, false) + ": " + std::to_string(r.status) +
                        " " + CMessagePrinter::Escaped(r.description, false) + "\n");
            }
            const std::string text = std::to_string(total) + " files: " + std::to_string(ok) +
                                     " converted, " + std::to_string(failed) + " failed, " +
                                     std::to_string(raised) + " errors; summary in " +
                                     Join(opt.outDir, "summary.csv");
            if (json)
                jsonLine("info", text,
                         ",\"files\":" + std::to_string(total) + ",\"converted\":" +
                             std::to_string(ok) + ",\"failed\":" + std::to_string(failed) +
                             ",\"errors\":" + std::to_string(raised));
            else
                Err(CMessagePrinter::Escaped(text, false) + "\n");
        }
        return status;
    } catch (const CVellError& e) {
        printer.Failure(
            e.Number(),
            std::to_string(e.Number()) + ": " + e.Description() + " (" + e.Source() + ")",
            e.Source(), e.Description());
        return ToolExit::kRaised;
    } catch (const std::exception& e) {
        const bool memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
        const std::string text = memory ? "Out of memory" : e.what();
        printer.Failure(memory ? 7 : 51, text, ToolExit::kSource, text);
        return ToolExit::kRaised;
    }
}

}  // namespace vellcfgrdr
