// The command-line tool, run as a user runs it.

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <set>
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

// Runs the tool with its standard output and error captured in files (no
// pipes to drain) and without "Debugmode", so that debug mode is only what
// the arguments ask for.
Result RunTool(const std::vector<std::string>& args, const std::string& input = "/dev/null") {
    TempDir capture;
    const std::string outPath = capture.File("stdout");
    const std::string errPath = capture.File("stderr");

    std::vector<std::string> strings{VELL_CLI_PATH};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).rfind("Debugmode=", 0) != 0) envp.push_back(*e);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid;
    Result result;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadBytes(outPath);
    result.err = ReadBytes(errPath);
    return result;
}

// Runs the tool as an ordinary user (root reads every file whatever its
// permissions) with extra environment entries, output captured as above.
Result RunToolAs(bool ordinaryUser, const std::vector<std::string>& env,
                 const std::vector<std::string>& args) {
    TempDir capture;
    ::chmod(capture.Str().c_str(), 0777);
    const std::string outPath = capture.File("stdout");
    const std::string errPath = capture.File("stderr");
    std::vector<std::string> strings{VELL_CLI_PATH};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = env;
    for (char** e = environ; *e; ++e)
        if (!std::string_view(*e).starts_with("Debugmode=")) envStrings.push_back(*e);
    std::vector<char*> envp;
    for (std::string& s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    Result result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0)
            ::_exit(126);
        if (ordinaryUser && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadBytes(outPath);
    result.err = ReadBytes(errPath);
    return result;
}

std::set<std::string> Names(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(Cli, ConvertsToStandardOutputWithMessagesOnStandardError) {
    TempDir dir;
    const std::string slc = dir.Write("line3.slc", kSmallSlc);
    Result r = RunTool({slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("<configExchangeFile"), std::string::npos);
    EXPECT_NE(r.out.find("1747-L532"), std::string::npos);
    EXPECT_NE(r.err.find("info: SLC 500 text export: Reading " + slc + "\n"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("debug:"), std::string::npos);
    EXPECT_TRUE(
        r.err.ends_with("\nsummary: complete; buses 1, drops 1, racks 1, modules 2; parts "
                        "resolved 4, ambiguous 0, unresolved 0\n"))
        << r.err;
    r = RunTool({"--strict", slc});
    EXPECT_EQ(r.exit, 0) << r.err;

    // A warning: the XML is written, and --strict says so by exit 3.
    const std::string warned = dir.Write("warned.slc", "start 1747-L532\nslot 2 XYZ-9\n");
    r = RunTool({"--strict", warned});
    EXPECT_EQ(r.exit, 3) << r.err;
    EXPECT_NE(r.out.find("<configExchangeFile"), std::string::npos);
    EXPECT_NE(r.err.find("unresolved 1\n"), std::string::npos) << r.err;
}

TEST(Cli, FormatsByNameAndStandardInput) {
    TempDir dir;
    const std::string txt = dir.Write("line3.txt", kSmallSlc);
    Result r = RunTool({txt});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("line3.txt; the extensions read are .asc, "), std::string::npos) << r.err;

    for (const std::string format : {"slc500", "SLC", ".slc"}) {
        r = RunTool({"--format", format, txt});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_NE(r.out.find(R"(fileName="line3.txt" fileType="SLC 500")"), std::string::npos);
    }
    r = RunTool({"--format", "l5k", txt});
    EXPECT_NE(r.exit, 0);
    r = RunTool({"--format", "bogus", txt});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("bogus names no format; the formats are slc500, controllogix, "),
              std::string::npos)
        << r.err;

    // Standard input goes through a private temporary file, gone afterwards.
    r = RunTool({"--format", "slc500", "-"}, txt);
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find(R"(fileName="standard input" fileType="SLC 500")"), std::string::npos);
    EXPECT_NE(r.err.find("Reading standard input\n"), std::string::npos) << r.err;
    r = RunTool({"--format", "cobalt", "-"}, txt);
    EXPECT_EQ(r.exit, 1) << r.err;
    const auto user =
        std::filesystem::temp_directory_path() / ("vellcfgrdr-" + std::to_string(::geteuid()));
    for (const auto& entry : std::filesystem::directory_iterator(user))
        EXPECT_FALSE(entry.path().filename().string().starts_with("ReadIOmap-")) << entry.path();
    r = RunTool({"-"}, txt);
    EXPECT_EQ(r.exit, 64);
    EXPECT_NE(r.err.find("--format is needed"), std::string::npos) << r.err;

    r = RunTool({"--formats"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.out.find("\ncobalt            .xef .zef   Corvane   Cobalt exchange file"),
              std::string::npos)
        << r.out;
}

TEST(Cli, OutputFileIsReplacedWholeOrLeftAlone) {
    TempDir dir;
    const std::string slc = dir.Write("line3.slc", kSmallSlc);
    const std::string out = dir.File("out.xml");

    Result r = RunTool({"-o", out, slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string written = ReadBytes(out);
    EXPECT_NE(written.find("1747-L532"), std::string::npos);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"line3.slc", "out.xml"}));

    // A failed run keeps the earlier result and leaves nothing beside it.
    r = RunTool({"--output", out, dir.File("missing.slc")});
    EXPECT_EQ(r.exit, 2);
    EXPECT_EQ(ReadBytes(out), written);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"line3.slc", "out.xml"}));

    // An output folder that does not exist is an error of its own.
    r = RunTool({"-o", dir.File("no/such/out.xml"), slc});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("error: 76: "), std::string::npos) << r.err;
    EXPECT_EQ(Names(dir), (std::set<std::string>{"line3.slc", "out.xml"}));

    // The output may not be a folder; the temporary is removed again.
    std::filesystem::create_directory(dir.File("sub"));
    r = RunTool({"-o", dir.File("sub"), slc});
    EXPECT_EQ(r.exit, 2);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"line3.slc", "out.xml", "sub"}));
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
    EXPECT_EQ(Names(dir), (std::set<std::string>{"line3.slc", "link.xml", "pipe", "real.xml"}));

    // Standard output named as a file, and the null device.
    r = RunTool({"-q", "-o", "/dev/stdout", slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("1747-L532"), std::string::npos);
    const bool device = ::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode);
    r = RunTool({"-q", "-o", "/dev/null", slc});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "");
    if (device) {
        ::stat("/dev/null", &st);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

TEST(Cli, ExitStatusTellsHowTheRunEnded) {
    TempDir dir;
    const std::string missing = dir.File("missing.slc");
    Result r = RunTool({missing});
    EXPECT_EQ(r.exit, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("error: 53: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(missing + " (VellCfgRdr > PlcCfgReader.ReadIOmap)\n"), std::string::npos)
        << r.err;

    r = RunTool({dir.Write("notes.txt", "start 1747-L532\n")});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("error: 14001: "), std::string::npos) << r.err;

    // A reader status other than success or warnings.
    r = RunTool({dir.Write("text.slc", "nothing of a processor here\n")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("error: status 321: "), std::string::npos) << r.err;

    for (const std::vector<std::string>& usage : {std::vector<std::string>{"--bogus"},
                                                  {"--lang", "de"},
                                                  {"--messages", "xml"},
                                                  {"a.slc", "b.slc"},
                                                  {"-o"}}) {
        r = RunTool(usage);
        EXPECT_EQ(r.exit, 64) << usage.front();
        EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(Cli, InputsThatCannotBeReadSayWhatTheyAreAndExit2) {
    TempDir dir;
    ::chmod(dir.Str().c_str(), 0755);
    const auto expect = [](const Result& r, const std::string& text) {
        EXPECT_EQ(r.exit, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
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
    expect(RunToolAs(true, {}, {closed}),
           "error: 70: Permission denied - " + closed + " cannot be read");
    std::filesystem::create_directory(dir.File("locked"));
    const std::string hidden = dir.Write("locked/a.slc", kSmallSlc);
    ::chmod(dir.File("locked").c_str(), 0700);
    expect(RunToolAs(true, {}, {hidden}),
           "error: 70: Permission denied - " + hidden + ": a folder on the way cannot be searched");

    const std::string slc = dir.Write("line3.slc", kSmallSlc);
    expect(RunToolAs(false, {"TMPDIR=" + dir.File("gone")}, {slc}),
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
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("bad\xC3\xBF.slc"), std::string::npos) << r.err;  // y diaeresis
    EXPECT_EQ(r.err.find('\xFF'), std::string::npos);
    EXPECT_NE(r.err.find(R"("number":53,"trace":"VellCfgRdr > PlcCfgReader.ReadIOmap"})"),
              std::string::npos)
        << r.err;
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
    r = RunTool({dir.File("gar\xE7on.l5k.none")});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("gar\xC3\xA7on.l5k.none"), std::string::npos) << r.err;
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
    r = RunTool({dir.File("gone\x1B[2J.slc")});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("error: 53: File not found - " + dir.File("gone\\u001B[2J.slc")),
              std::string::npos)
        << r.err;
}

TEST(Cli, QuietLanguageAndDebugOptions) {
    TempDir dir;
    const std::string slc = dir.Write("line3.slc", kSmallSlc);

    Result r = RunTool({"-q", slc});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.err, "");
    r = RunTool({"--quiet", dir.File("missing.slc")});
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("error: 53: "), std::string::npos);

    r = RunTool({"--lang", "fr", slc});
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.err.find("info: SLC 500 text export: Lecture de "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("summary: terminé ; bus 1,"), std::string::npos) << r.err;
    // The standard texts of error numbers too.
    r = RunTool({"--lang", "fr", dir.File("missing.slc")});
    EXPECT_NE(r.err.find("error: 53: Fichier introuvable - "), std::string::npos) << r.err;

    r = RunTool({"--debug", slc});
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.err.find("debug: SLC 500 text export: Format=SLC 500"), std::string::npos) << r.err;
}

TEST(Cli, VersionHelpAndUsageWithoutAFile) {
    Result r = RunTool({"--version"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_TRUE(r.out.starts_with("vellcfgrdr ")) << r.out;
    EXPECT_NE(r.out.find("\nLicence: "), std::string::npos) << r.out;
    // Every library with its version: an empty one means the build lost it.
    for (const char* lib : {"pugixml ", "libzip ", "StormLib ", "mdbtools ", "CLI11 "}) {
        const auto at = r.out.find(lib);
        ASSERT_NE(at, std::string::npos) << lib << r.out;
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(r.out[at + std::strlen(lib)])))
            << lib << r.out;
    }
    EXPECT_EQ(r.err, "");

    r = RunTool({"--help"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.out.find("--messages"), std::string::npos);

    // No demo plant for an empty file variable: the usage, and 64.
    r = RunTool({"-q"});
    EXPECT_EQ(r.exit, 64);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage:"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace vellcfgrdr::test
