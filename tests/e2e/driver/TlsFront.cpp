#include "TlsFront.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wincrypt.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "HttpServer.h"
#include "Paths.h"

namespace qs::e2e {

namespace {

constexpr char kPython[] = "/usr/bin/python3";
constexpr unsigned kReadyTimeoutMs = 60000; // three keys and five certificates, on a busy machine

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

HCERTSTORE OpenMachineRoot()
{
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "ROOT");
}

} // namespace

std::optional<std::string> TlsFront::Unavailable()
{
    if (!std::getenv(::qs::test::kTestBundleVariable))
        return std::nullopt;
    return "the TLS front of the HTTPS cases is a Linux program (" + std::string(kPython)
           + "), which a test bundle does not carry";
}

std::string TlsFront::Url(unsigned short port, const std::string& path)
{
    return "https://localhost:" + std::to_string(port) + path;
}

TlsFront::TlsFront(HttpServer& upstream)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        m_failure = "no Winsock";
        return;
    }
    Start(upstream);
}

TlsFront::~TlsFront()
{
    if (!m_trusted.empty()) {
        HCERTSTORE store = OpenMachineRoot();
        PCCERT_CONTEXT authority =
            CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(m_trusted.data()),
                                         static_cast<DWORD>(m_trusted.size()));
        if (store && authority) {
            PCCERT_CONTEXT inStore = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                                CERT_FIND_EXISTING, authority, nullptr);
            if (inStore)
                CertDeleteCertificateFromStore(inStore); // frees inStore
        }
        if (authority)
            CertFreeCertificateContext(authority);
        if (store)
            CertCloseStore(store, 0);
    }
    if (m_control != INVALID_SOCKET)
        closesocket(static_cast<SOCKET>(m_control));
    WSACleanup();
}

bool TlsFront::Start(HttpServer& upstream)
{
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (listener == INVALID_SOCKET
        || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(listener, 1) != 0
        || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        m_failure = "no control socket";
        if (listener != INVALID_SOCKET)
            closesocket(listener);
        return false;
    }

    // A Linux program gets its arguments as they stand: the script's path stays a Unix path.
    std::string commandLine = "\"" + WinPath(kPython) + "\" \"" QS_TLS_FRONT_SCRIPT "\" "
                              + std::to_string(upstream.Port()) + " "
                              + std::to_string(ntohs(address.sin_port));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        m_failure =
            "cannot start " + std::string(kPython) + " (error " + std::to_string(GetLastError()) + ")";
        closesocket(listener);
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);

    if (!SocketReadable(listener, kReadyTimeoutMs)) {
        m_failure = "the TLS front did not call back";
        closesocket(listener);
        return false;
    }
    const SOCKET control = accept(listener, nullptr, nullptr);
    closesocket(listener);
    if (control == INVALID_SOCKET) {
        m_failure = "the TLS front's call was lost";
        return false;
    }
    m_control = control;

    std::string line;
    const ULONGLONG deadline = GetTickCount64() + kReadyTimeoutMs;
    while (line.find('\n') == std::string::npos) {
        if (GetTickCount64() >= deadline) {
            m_failure = "the TLS front did not report";
            return false;
        }
        if (!SocketReadable(control, 100))
            continue;
        char buffer[4096];
        const int n = recv(control, buffer, sizeof buffer, 0);
        if (n <= 0) {
            m_failure = "the TLS front ended: " + line;
            return false;
        }
        line.append(buffer, static_cast<size_t>(n));
    }
    line.resize(line.find('\n'));

    std::istringstream words(line);
    std::string word, hex;
    words >> word >> m_trustedPort >> m_untrustedPort >> m_otherHostPort >> hex;
    if (word != "READY" || !m_trustedPort || !m_untrustedPort || !m_otherHostPort || hex.empty()) {
        m_failure = "the TLS front failed: " + line;
        return false;
    }
    return Trust(FromHex(hex));
}

bool TlsFront::Trust(const std::string& der)
{
    HCERTSTORE store = OpenMachineRoot();
    if (!store) {
        m_failure = "cannot open the root store (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    // No context of the added certificate is kept: it would hold the store open, and Wine
    // writes a registry store out only when it closes.
    const BOOL ok = CertAddEncodedCertificateToStore(
        store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()),
        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    if (ok)
        m_trusted = der;
    else
        m_failure = "cannot add the test authority (error " + std::to_string(GetLastError()) + ")";
    CertCloseStore(store, 0);
    return ok != FALSE;
}

} // namespace qs::e2e
