// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test doubles of the update service: a certificate authority made for the test with the
// openssl tool, and tests/support/update_server.py serving 127.0.0.1 (plain or TLS) from
// a script of answers, logging every request. Never any other address.
#include <json/json.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A throw-away authority and server certificates signed by it, in a folder of their own.
class TestAuthority {
public:
    TestAuthority();
    ~TestAuthority();
    TestAuthority(const TestAuthority&) = delete;
    TestAuthority& operator=(const TestAuthority&) = delete;

    bool Ready() const { return ready_; }
    std::filesystem::path CaFile() const { return dir_ / "ca.pem"; }
    // For 127.0.0.1, signed by this authority.
    std::filesystem::path ServerCert() const { return dir_ / "server.pem"; }
    std::filesystem::path ServerKey() const { return dir_ / "server.key"; }
    // Signed by this authority but naming another host.
    std::filesystem::path WrongNameCert() const { return dir_ / "wrongname.pem"; }
    std::filesystem::path WrongNameKey() const { return dir_ / "wrongname.key"; }
    // For 127.0.0.1 but signed by an authority nobody trusts.
    std::filesystem::path StrangerCert() const { return dir_ / "stranger.pem"; }
    std::filesystem::path StrangerKey() const { return dir_ / "stranger.key"; }

private:
    std::filesystem::path dir_;
    bool ready_ = false;
};

class LocalUpdateServer {
public:
    // `script` as update_server.py reads it; with `cert`, the server speaks TLS.
    explicit LocalUpdateServer(const Json::Value& script, const std::filesystem::path& cert = {},
                               const std::filesystem::path& key = {});
    ~LocalUpdateServer();
    LocalUpdateServer(const LocalUpdateServer&) = delete;
    LocalUpdateServer& operator=(const LocalUpdateServer&) = delete;

    bool Running() const { return port_ > 0; }
    int Port() const { return port_; }
    // "http(s)://127.0.0.1:PORT/"
    std::string BaseUrl() const;
    // The answers for the next requests.
    void SetScript(const Json::Value& script);
    // Every request so far: {"method", "path", "headers", "body" (hex), "key"}.
    std::vector<Json::Value> Requests() const;

    // An answer of the script: `body` for app keys containing `match`.
    static Json::Value Answer(const std::string& match, const std::string& body);

private:
    std::filesystem::path dir_;
    pid_t pid_ = -1;
    int port_ = 0;
    bool tls_ = false;
};

// A port on 127.0.0.1 where nothing listens.
int ClosedPort();
// Bytes from lower-case hex.
std::string FromHex(const std::string& hex);

}  // namespace testsupport
