// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LocalUpdateServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace fs = std::filesystem;

namespace {

fs::path MakeTempDir(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A key and a certificate request for `name`, signed by `ca` with the given alternative name.
bool Issue(const fs::path& dir, const std::string& name, const std::string& ca,
           const std::string& altName) {
    const std::string d = dir.string() + "/";
    std::ofstream(d + name + ".ext") << "subjectAltName=" << altName << "\n";
    return Run("openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout " + d +
               name + ".key -out " + d + name + ".csr -subj /CN=tx512-test") &&
           Run("openssl x509 -req -in " + d + name + ".csr -CA " + d + ca + ".pem -CAkey " + d +
               ca + ".key -CAcreateserial -days 2 -out " + d + name + ".pem -extfile " + d + name +
               ".ext");
}

bool Authority(const fs::path& dir, const std::string& name) {
    const std::string d = dir.string() + "/";
    return Run(
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout " + d +
        name + ".key -out " + d + name + ".pem -days 2 -subj /CN=tx512-test-authority");
}

void WriteJson(const fs::path& file, const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    std::ofstream(file) << Json::writeString(builder, value);
}

}  // namespace

TestAuthority::TestAuthority() : dir_(MakeTempDir("tx512-ca")) {
    ready_ = !dir_.empty() && Authority(dir_, "ca") && Authority(dir_, "strangerca") &&
             Issue(dir_, "server", "ca", "IP:127.0.0.1") &&
             Issue(dir_, "wrongname", "ca", "DNS:update.invalid") &&
             Issue(dir_, "stranger", "strangerca", "IP:127.0.0.1");
}

TestAuthority::~TestAuthority() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

LocalUpdateServer::LocalUpdateServer(const Json::Value& script, const fs::path& cert,
                                     const fs::path& key)
    : dir_(MakeTempDir("tx512-update-server")), tls_(!cert.empty()) {
    if (dir_.empty()) return;
    // A proxy of the machine must not stand between the tests and their own server, in
    // this process or in the programs it starts.
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    SetScript(script);
    int out[2];
    if (pipe(out) != 0) return;
    const std::string program = std::string(TX512_SOURCE_DIR) + "/tests/support/update_server.py";
    std::vector<std::string> args = {"python3",  program,
                                     "--script", (dir_ / "script.json").string(),
                                     "--log",    (dir_ / "requests.jsonl").string()};
    if (tls_) {
        args.insert(args.end(), {"--cert", cert.string(), "--key", key.string()});
    }
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp("python3", argv.data());
        _exit(127);
    }
    close(out[1]);
    // "PORT n" within a few seconds, or no server.
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
        char chunk[64];
        const ssize_t n = read(out[0], chunk, sizeof chunk);
        if (n <= 0) break;
        line.append(chunk, static_cast<size_t>(n));
    }
    close(out[0]);
    if (line.rfind("PORT ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
}

LocalUpdateServer::~LocalUpdateServer() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string LocalUpdateServer::BaseUrl() const {
    return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + "/";
}

void LocalUpdateServer::SetScript(const Json::Value& script) {
    WriteJson(dir_ / "script.json.new", script);
    fs::rename(dir_ / "script.json.new", dir_ / "script.json");
}

std::vector<Json::Value> LocalUpdateServer::Requests() const {
    std::vector<Json::Value> requests;
    std::ifstream in(dir_ / "requests.jsonl");
    std::string line;
    Json::CharReaderBuilder builder;
    while (std::getline(in, line)) {
        Json::Value value;
        std::istringstream stream(line);
        if (Json::parseFromStream(builder, stream, &value, nullptr)) requests.push_back(value);
    }
    return requests;
}

Json::Value LocalUpdateServer::Answer(const std::string& match, const std::string& body) {
    Json::Value answer;
    answer["match"] = match;
    answer["body"] = body;
    return answer;
}

int ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);  // nothing listens there now
    return port;
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

}  // namespace testsupport
