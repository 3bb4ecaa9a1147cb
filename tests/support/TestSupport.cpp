#include "support/TestSupport.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace sondara::test {

std::vector<float> randomTrace(int n, unsigned seed, float amplitude) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-amplitude, amplitude);
    std::vector<float> v(n);
    for (auto& x : v) x = d(gen);
    return v;
}

std::vector<float> normalTrace(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<float> d(0.0f, 1.0f);
    std::vector<float> v(n);
    for (auto& x : v) x = d(gen);
    return v;
}

namespace {
std::string makeTempDir(const char* prefix) {
    const char* base = std::getenv("SONDARA_TEST_TMP");
    if (!base || !*base) base = std::getenv("TMPDIR");
    if (!base || !*base) base = "/tmp";
    std::string tmpl = std::string(base) + "/" + prefix + "XXXXXX";
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

// Redirects every outside path before any test runs.
struct ProcessEnvironment {
    std::string dir;
    ProcessEnvironment() {
        dir = makeTempDir("sondara-test-");
        ::setenv("SONDARA_SETTINGS_DIR", (dir + "/settings").c_str(), 1);
        ::setenv("SONDARA_LOG", (dir + "/MIRQAR_log.txt").c_str(), 1);
        ::setenv("SONDARA_TEMP_DIR", (dir + "/temp").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
        ::setenv("SONDARA_NO_DESKTOP_CACHE", "1", 1);
        std::filesystem::create_directories(dir + "/temp");
    }
    ~ProcessEnvironment() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};
ProcessEnvironment& env() {
    static ProcessEnvironment e;
    return e;
}
[[maybe_unused]] const bool kEnvReady = (env(), true);
}  // namespace

const std::string& processTempDir() {
    return env().dir;
}

TempDir::TempDir() : path_(makeTempDir("sondara-case-")) {}
TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

std::string cliPath() {
    const char* p = std::getenv("SONDARA_CLI");
    return shellQuote(p ? p : "sondara-cli");
}

RunResult runCommand(const std::string& commandLine, const std::string& stdinText) {
    TempDir io;
    std::string in = io.file("in"), out = io.file("out"), err = io.file("err");
    writeFile(in, stdinText);
    std::string cmd =
        commandLine + " <" + shellQuote(in) + " >" + shellQuote(out) + " 2>" + shellQuote(err);
    int status = std::system(cmd.c_str());
    RunResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        out.insert(e.path().filename().string());
    return out;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

}  // namespace sondara::test
