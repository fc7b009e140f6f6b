// HTTPS for the tests: TLS in front of a loopback HttpServer, with a test authority made for
// this test and trusted only in the test's own Wine prefix while the object lives.
// The TLS side is tls_front.py, started through Wine's ability to run a Linux program; it
// ends when this object closes its control connection (or the test process dies).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qs::e2e {

class HttpServer;

class TlsFront
{
public:
    // Starts the front for `upstream` and adds its authority to the prefix's root store.
    // Check Ready(), or Failure() for why not.
    explicit TlsFront(HttpServer& upstream);
    // Removes the authority from the root store and ends the front.
    ~TlsFront();
    TlsFront(const TlsFront&) = delete;
    TlsFront& operator=(const TlsFront&) = delete;

    // Why this run has no TLS front to start (nothing when it has): a test bundle carries none,
    // since it is a Linux program. A test that needs one skips with this reason.
    static std::optional<std::string> Unavailable();

    bool Ready() const { return m_failure.empty(); }
    const std::string& Failure() const { return m_failure; }

    // Ports on 127.0.0.1 (use the name "localhost": Wine checks only names):
    unsigned short TrustedPort() const { return m_trustedPort; }     // localhost, trusted
    unsigned short UntrustedPort() const { return m_untrustedPort; } // localhost, unknown issuer
    unsigned short OtherHostPort() const { return m_otherHostPort; } // "otherhost.invalid", trusted

    // "https://localhost:PORT" followed by `path`.
    static std::string Url(unsigned short port, const std::string& path = "");

private:
    bool Start(HttpServer& upstream);
    bool Trust(const std::string& der);

    std::uintptr_t m_control = ~std::uintptr_t{0}; // the accepted control connection
    std::string m_trusted;                         // the authority added to the store (DER)
    unsigned short m_trustedPort = 0;
    unsigned short m_untrustedPort = 0;
    unsigned short m_otherHostPort = 0;
    std::string m_failure;
};

} // namespace qs::e2e
