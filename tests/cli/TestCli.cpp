// The command-line tool, run as a user runs it: what it does with its
// arguments, files, standard streams and exit status (what a conversion
// gives is the golden cases' business).

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TestUtil.h"
#include "core/CUtf8.h"
#include "output/CXMLDocument.h"

extern char** environ;

namespace vellcfgrdr::test {
namespace {

constexpr const char* kSmallSlc =
    "; a small SLC 500 system\r\n"
    "start 1747-L532\r\n"
    "rack 1 1746-A7\r\n"
    "slot 1 1746-IB16\r\n"
    "ladder\r\n";

struct Result {
    int exit = -1;
    std::string out;
    std::string err;
};

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Runs the tool with its standard output and error captured in files (no
// pipes to drain), with extra environment entries and without "Debugmode",
// so that debug mode is only what the arguments ask for; as an ordinary user
// when asked (root reads every file whatever its permissions).
Result RunTool(const std::vector<std::string>& args, const std::string& input = "/dev/null",
               const std::vector<std::string>& env = {}, bool ordinaryUser = false) {
    TempDir capture;
    const std::string outPath = capture.File("stdout"), errPath = capture.File("stderr");
    std::vector<std::string> strings{VELL_CLI_PATH};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<std::string> envStrings = env;
    for (char** e = environ; *e; ++e)
        if (!std::string_view(*e).starts_with("Debugmode=")) envStrings.push_back(*e);
    const std::vector<char*> argv = Pointers(strings), envp = Pointers(envStrings);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0)
            ::_exit(126);
        if (ordinaryUser && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    Result result;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadBytes(outPath);
    result.err = ReadBytes(errPath);
    return result;
}

// The exit status, a text standard output holds (or, for "", an empty
// standard output) and the texts standard error holds (none: it is empty).
void Expect(const Result& r, int exit, const std::string& out, const std::vector<std::string>& errs,
            const std::string& what) {
    EXPECT_EQ(r.exit, exit) << what << "\n" << r.err;
    if (out.empty()) {
        EXPECT_EQ(r.out, "") << what;
    } else {
        EXPECT_NE(r.out.find(out), std::string::npos) << what << "\n" << r.out;
    }
    if (errs.empty()) {
        EXPECT_EQ(r.err, "") << what;
    }
    for (const std::string& text : errs)
        EXPECT_NE(r.err.find(text), std::string::npos) << what << "\n" << r.err;
}

TEST(Cli, ArgumentsGiveTheirOutputMessagesAndExitStatus) {
    TempDir dir;
    const std::string slc = dir.Write("line3.slc", kSmallSlc);
    const std::string txt = dir.Write("line3.txt", kSmallSlc);
    const std::string warned = dir.Write("warned.slc", "start 1747-L532\nslot 2 XYZ-9\n");
    const std::string missing = dir.File("missing.slc");
    const std::string xml = "<configExchangeFile";
    const std::string usage = "Run with --help for more information.";
    const std::string asSlc = R"(fileName="line3.txt" fileType="SLC 500")";
    // clang-format off
    const struct {
        std::vector<std::string> args;
        int exit;
        std::string out;
        std::vector<std::string> errs;
    } cases[] = {
        {{slc}, 0, "1747-L532", {"info: SLC 500 text export: Reading " + slc + "\n",
             "\nsummary: complete; buses 1, drops 1, racks 1, modules 2; parts resolved 4, "
             "ambiguous 0, unresolved 0\n"}},
        {{"--strict", slc}, 0, xml, {"unresolved 0\n"}},
        // A warning: the XML is written, and --strict says so by exit 3.
        {{"--strict", warned}, 3, xml, {"unresolved 1\n"}},
        {{"-q", slc}, 0, xml, {}},
        {{"--debug", slc}, 0, xml, {"debug: SLC 500 text export: Format=SLC 500"}},
        {{"--lang", "fr", slc}, 0, xml,
         {"info: SLC 500 text export: Lecture de ", "summary: terminé ; bus 1,"}},
        // The standard texts of error numbers follow the language too.
        {{"--lang", "fr", missing}, 2, "", {"error: 53: Fichier introuvable - "}},
        {{missing}, 2, "",
         {"error: 53: File not found - " + missing + " (VellCfgRdr > PlcCfgReader.ReadIOmap)\n"}},
        {{"--quiet", missing}, 2, "", {"error: 53: "}},
        {{dir.Write("notes.txt", "start 1747-L532\n")}, 2, "", {"error: 14001: "}},
        // A reader status other than success or warnings.
        {{dir.Write("text.slc", "nothing of a processor here\n")}, 1, "", {"error: status 321: "}},
        // The format by extension, or by name whatever the extension.
        {{txt}, 2, "", {"line3.txt (VellCfgRdr > PlcCfgReader.ReadIOmap); the extensions read are .asc, "}},
        {{"--format", "slc500", txt}, 0, asSlc, {"Reading"}},
        {{"--format", "SLC", txt}, 0, asSlc, {"Reading"}},
        {{"--format", ".slc", txt}, 0, asSlc, {"Reading"}},
        {{"--format", "l5k", txt}, 1, "", {"error: status 321: "}},
        {{"--format", "bogus", txt}, 2, "",
         {"bogus names no format; the formats are slc500, controllogix, "}},
        {{"--formats"}, 0, "\ncobalt            .xef .zef   Corvane   Cobalt exchange file", {}},
        {{"--help"}, 0, "--messages", {}},
        // No demo plant for an empty file variable: the usage, and 64.
        {{"-q"}, 64, "", {"Usage:"}},
        {{"--bogus"}, 64, "", {usage}},
        {{"--lang", "de"}, 64, "", {usage}},
        {{"--messages", "xml"}, 64, "", {usage}},
        {{"a.slc", "b.slc"}, 64, "", {usage}},
        {{"-o"}, 64, "", {usage}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Result r = RunTool(c.args);
        Expect(r, c.exit, c.out, c.errs, c.args.back());
        if (c.args[0] != "--debug") {
            EXPECT_EQ(r.err.find("debug:"), std::string::npos);
        }
    }

    const Result r = RunTool({"--version"});
    Expect(r, 0, "\nLicence: ", {}, "--version");
    EXPECT_TRUE(r.out.starts_with("vellcfgrdr ")) << r.out;
    // Every library with its version: an empty one means the build lost it.
    for (const char* lib :
         {"pugixml ", "libzip ", "StormLib ", "mdbtools ", "libxml2 ", "CLI11 "}) {
        const auto at = r.out.find(lib);
        ASSERT_NE(at, std::string::npos) << lib << r.out;
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(r.out[at + std::strlen(lib)])))
            << lib << r.out;
    }
}

TEST(Cli, StandardInputGoesThroughAPrivateTemporaryFile) {
    TempDir dir;
    const std::string txt = dir.Write("line3.txt", kSmallSlc);
    Expect(RunTool({"--format", "slc500", "-"}, txt), 0,
           R"(fileName="standard input" fileType="SLC 500")", {"Reading standard input\n"}, "slc");
    Expect(RunTool({"--format", "cobalt", "-"}, txt), 1, "", {"error: status 321: "}, "cobalt");
    const auto user =
        std::filesystem::temp_directory_path() / ("vellcfgrdr-" + std::to_string(::geteuid()));
    for (const auto& entry : std::filesystem::directory_iterator(user))
        EXPECT_FALSE(entry.path().filename().string().starts_with("ReadIOmap-")) << entry.path();
    Expect(RunTool({"-"}, txt), 64, "", {"--format is needed"}, "no format");
}

TEST(Cli, OutputFileIsReplacedWholeOrLeftAlone) {
    TempDir dir;
    const std::string slc = dir.Write("line3.slc", kSmallSlc);
    const std::string out = dir.File("out.xml");
    const std::vector<std::string> names{"line3.slc", "out.xml"};

    Result r = RunTool({"-o", out, slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string written = ReadBytes(out);
    EXPECT_NE(written.find("1747-L532"), std::string::npos);
    EXPECT_EQ(NamesIn(dir.Path()), names);

    // A failed run keeps the earlier result and leaves nothing beside it.
    EXPECT_EQ(RunTool({"--output", out, dir.File("missing.slc")}).exit, 2);
    EXPECT_EQ(ReadBytes(out), written);
    EXPECT_EQ(NamesIn(dir.Path()), names);

    // An output folder that does not exist is an error of its own.
    r = RunTool({"-o", dir.File("no/such/out.xml"), slc});
    Expect(r, 2, "", {"error: 76: "}, "no folder");
    EXPECT_EQ(NamesIn(dir.Path()), names);

    // The output may not be a folder; the temporary is removed again.
    std::filesystem::create_directory(dir.File("sub"));
    EXPECT_EQ(RunTool({"-o", dir.File("sub"), slc}).exit, 2);
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"line3.slc", "out.xml", "sub"}));
}

TEST(Cli, OutputThatIsNotARegularFileIsWrittenNotReplaced) {
    TempDir dir;
    const std::string slc = dir.Write("line3.slc", kSmallSlc);

    // A link to a regular file: the target gets the XML, the link stays.
    const std::string real = dir.Write("real.xml", "old");
    std::filesystem::create_symlink("real.xml", dir.File("link.xml"));
    Result r = RunTool({"-q", "-o", dir.File("link.xml"), slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.xml")));
    EXPECT_NE(ReadBytes(real).find("1747-L532"), std::string::npos);

    // A FIFO is written into, as by any other tool.
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] { piped = ReadBytes(fifo); });
    r = RunTool({"-q", "-o", fifo, slc});
    reader.join();
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(piped.find("1747-L532"), std::string::npos);
    struct stat st {};
    ::lstat(fifo.c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // Set-user-ID and set-group-ID bits of a replaced file are not copied.
    ::chmod(real.c_str(), 06755);
    r = RunTool({"-q", "-o", real, slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    ::stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    EXPECT_EQ(NamesIn(dir.Path()),
              (std::vector<std::string>{"line3.slc", "link.xml", "pipe", "real.xml"}));

    // Standard output named as a file, and the null device.
    Expect(RunTool({"-q", "-o", "/dev/stdout", slc}), 0, "1747-L532", {}, "/dev/stdout");
    const bool device = ::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode);
    Expect(RunTool({"-q", "-o", "/dev/null", slc}), 0, "", {}, "/dev/null");
    if (device) {
        ::stat("/dev/null", &st);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

TEST(Cli, InputsThatCannotBeReadSayWhatTheyAreAndExit2) {
    TempDir dir;
    ::chmod(dir.Str().c_str(), 0755);
    const auto expect = [](const Result& r, const std::string& text) {
        Expect(r, 2, "", {text}, text);
    };

    std::filesystem::create_directory(dir.File("folder.slc"));
    expect(RunTool({dir.File("folder.slc")}),
           "error: 75: Path/File access error - " + dir.File("folder.slc") +
               " is a folder, not a file (VellCfgRdr > PlcCfgReader.ReadIOmap)");

    // Neither blocks nor reads for ever.
    const std::string fifo = dir.File("x.slc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expect(RunTool({fifo}), fifo + " is not a regular file (FIFO)");
    std::filesystem::create_symlink("/dev/zero", dir.File("zero.l5k"));
    expect(RunTool({dir.File("zero.l5k")}), "zero.l5k is not a regular file (character device)");

    std::filesystem::create_symlink("loop.slc", dir.File("loop.slc"));
    expect(RunTool({dir.File("loop.slc")}), "error: 75: Path/File access error - " +
                                                dir.File("loop.slc") +
                                                ": the symbolic links form a loop");

    const std::string closed = dir.Write("closed.slc", kSmallSlc);
    ::chmod(closed.c_str(), 0);
    expect(RunTool({closed}, "/dev/null", {}, true),
           "error: 70: Permission denied - " + closed + " cannot be read");
    std::filesystem::create_directory(dir.File("locked"));
    const std::string hidden = dir.Write("locked/a.slc", kSmallSlc);
    ::chmod(dir.File("locked").c_str(), 0700);
    expect(RunTool({hidden}, "/dev/null", {}, true),
           "error: 70: Permission denied - " + hidden + ": a folder on the way cannot be searched");

    const std::string slc = dir.Write("line3.slc", kSmallSlc);
    expect(RunTool({slc}, "/dev/null", {"TMPDIR=" + dir.File("gone")}),
           "error: 76: Path not found - the temporary folder " + dir.File("gone"));
}

TEST(Cli, JsonMessagesAreOneEscapedObjectPerLine) {
    TempDir dir;
    const std::string slc = dir.Write("we\"ird\\na\tme.slc", kSmallSlc);
    // Debug traces, usage errors and the closing summary are objects too.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--messages", "json", "--debug", slc},
          {"--messages=json", "--bogus"},
          {"--messages", "json"}}) {
        const Result r = RunTool(args);
        std::istringstream lines(r.err);
        int count = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            EXPECT_TRUE(line.starts_with("{\"level\":\"")) << line;
            EXPECT_TRUE(line.ends_with("}")) << line;
            EXPECT_NE(line.find("\",\"source\":\""), std::string::npos) << line;
            EXPECT_NE(line.find("\",\"text\":\""), std::string::npos) << line;
            EXPECT_EQ(line.find('\t'), std::string::npos) << line;
        }
        EXPECT_GT(count, 0);
        EXPECT_EQ(r.exit, args.size() == 4 ? 0 : 64) << r.err;
    }
    Result r = RunTool({"--messages", "json", slc});
    EXPECT_NE(r.err.find(R"({"level":"info","source":"SLC 500 text export","text":"Reading )"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(r.err.ends_with(
        R"("status":0,"buses":1,"drops":1,"racks":1,"modules":2,"resolved":4,"ambiguous":0,)"
        R"("unresolved":0})"
        "\n"))
        << r.err;
    EXPECT_NE(r.err.find(R"(we\"ird\\na\u0009me.slc"})"), std::string::npos) << r.err;

    // Bytes that are not UTF-8 still give valid JSON text.
    r = RunTool({"--messages", "json", dir.File("bad\xFF.slc")});
    Expect(r, 2, "",
           {"bad\xC3\xBF.slc",  // y diaeresis
            R"("number":53,"trace":"VellCfgRdr > PlcCfgReader.ReadIOmap"})"},
           "bad\\xFF");
    EXPECT_EQ(r.err.find('\xFF'), std::string::npos);
}

TEST(Cli, PathsThatAreNotUtf8ReadAsWindows1252) {
    TempDir dir;
    // A name copied from an old archive.
    const std::string slc = dir.Write("caf\xE9.slc", kSmallSlc);
    Result r = RunTool({"--messages", "json", slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(CUtf8::IsValidUtf8(r.out));
    CXMLDocument doc;
    EXPECT_TRUE(doc.LoadString(r.out)) << doc.ParsingError();
    EXPECT_EQ(doc.GetAttribute("/configExchangeFile/project", "fileName"), "caf\xC3\xA9.slc");
    EXPECT_EQ(doc.GetAttribute("/configExchangeFile/project", "path"), dir.Str() + "/");
    EXPECT_NE(r.err.find("Reading " + dir.Str() + "/caf\xC3\xA9.slc\"}"), std::string::npos)
        << r.err;

    // The same rule for the path in an error.
    Expect(RunTool({dir.File("gar\xE7on.l5k.none")}), 2, "", {"gar\xC3\xA7on.l5k.none"}, "error");
}

TEST(Cli, TextMessagesEscapeControlCharacters) {
    TempDir dir;
    // A name that would retitle the terminal and clear the screen.
    const std::string slc = dir.Write(
        "a\x1B]0;owned\x07\r\xC2\x9B"
        "2J.slc",
        kSmallSlc);
    Result r = RunTool({slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("a\\u001B]0;owned\\u0007\\u000D\\u009B2J.slc\n"), std::string::npos)
        << r.err;
    for (char c : r.err)
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << r.err;
    EXPECT_EQ(r.err.find("\xC2\x9B"), std::string::npos);

    // The closing error line too.
    Expect(RunTool({dir.File("gone\x1B[2J.slc")}), 2, "",
           {"error: 53: File not found - " + dir.File("gone\\u001B[2J.slc")}, "error");
}

}  // namespace
}  // namespace vellcfgrdr::test
