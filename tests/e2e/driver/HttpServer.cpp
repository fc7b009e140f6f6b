#include "HttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace qs::e2e {

namespace {

constexpr unsigned kPollMs = 50;              // how often blocked loops look at the stop flag
constexpr unsigned kRequestTimeoutMs = 10000; // a request must arrive within this time
constexpr size_t kMaxRequestBytes = 1 << 20;
constexpr DWORD kSendTimeoutMs = 5000;

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                      == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SendAll(SOCKET socket, const char* data, size_t size)
{
    while (size > 0) {
        const int sent = send(socket, data, static_cast<int>(std::min<size_t>(size, 1 << 16)), 0);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

void ParseHead(HttpRequest& request)
{
    const std::string& head = request.head;
    size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const auto firstBlank = requestLine.find(' ');
    const auto lastBlank = requestLine.rfind(' ');
    if (firstBlank != std::string::npos) {
        request.method = requestLine.substr(0, firstBlank);
        if (lastBlank > firstBlank) {
            request.path = requestLine.substr(firstBlank + 1, lastBlank - firstBlank - 1);
            request.version = requestLine.substr(lastBlank + 1);
        } else {
            request.path = requestLine.substr(firstBlank + 1);
        }
    }
    while (lineEnd != std::string::npos && lineEnd + 2 < head.size()) {
        const size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line =
            head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        if (line.empty())
            break;
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        request.headers.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
    }
}

} // namespace

bool SocketReadable(std::uintptr_t socket, unsigned ms)
{
    const SOCKET s = static_cast<SOCKET>(socket);
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval timeout{static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
    return select(0, &set, nullptr, nullptr, &timeout) > 0;
}

std::optional<std::string> HttpRequest::Header(const std::string& name) const
{
    for (const auto& [key, value] : headers) {
        if (EqualNoCase(key, name))
            return value;
    }
    return std::nullopt;
}

HttpReply HttpReply::Ok(std::string body)
{
    HttpReply reply;
    reply.body = std::move(body);
    return reply;
}

HttpReply HttpReply::Status(std::string statusLine, std::string body)
{
    HttpReply reply;
    reply.statusLine = std::move(statusLine);
    reply.body = std::move(body);
    return reply;
}

HttpReply HttpReply::Raw(std::string bytes)
{
    HttpReply reply;
    reply.raw = std::move(bytes);
    return reply;
}

HttpReply HttpReply::CloseMidAnswer(std::string body, size_t cutAfter)
{
    HttpReply reply = Ok(std::move(body));
    reply.kind = Kind::CloseMidAnswer;
    reply.cutAfter = cutAfter;
    return reply;
}

HttpReply HttpReply::Trickle(std::string body, unsigned everyMs)
{
    HttpReply reply = Ok(std::move(body));
    reply.kind = Kind::Trickle;
    reply.trickleMs = everyMs;
    return reply;
}

HttpReply HttpReply::CloseWithoutAnswer()
{
    HttpReply reply;
    reply.kind = Kind::CloseWithoutAnswer;
    return reply;
}

HttpReply HttpReply::NeverAnswer()
{
    HttpReply reply;
    reply.kind = Kind::NeverAnswer;
    return reply;
}

std::string HttpReply::Bytes() const
{
    if (raw)
        return *raw;
    std::string bytes = statusLine + "\r\n";
    if (contentLength)
        bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    for (const std::string& header : headers)
        bytes += header + "\r\n";
    bytes += "Connection: close\r\n\r\n";
    bytes += body;
    return bytes;
}

HttpServer::HttpServer(unsigned short port)
    : m_listener(INVALID_SOCKET)
{
    m_default = HttpReply::Status("HTTP/1.0 404 Not Found", "not found");
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    m_winsockUp = true;

    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // loopback only, never all interfaces
    address.sin_port = htons(port);                   // 0: the system picks a free port
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(listener, SOMAXCONN) != 0
        || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return;
    }
    m_listener = listener;
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer()
{
    Stop();
    if (m_winsockUp)
        WSACleanup();
}

std::string HttpServer::Address() const
{
    return "127.0.0.1:" + std::to_string(m_port);
}

std::string HttpServer::Url(const std::string& path) const
{
    return "http://" + Address() + path;
}

void HttpServer::Serve(const std::string& path, HttpReply reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replies[path] = std::move(reply);
}

void HttpServer::SetDefault(HttpReply reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_default = std::move(reply);
}

std::vector<HttpRequest> HttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

size_t HttpServer::RequestCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests.size();
}

size_t HttpServer::ConnectionCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connections;
}

bool HttpServer::WaitForRequests(size_t count, unsigned timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_requests.size() >= count; });
}

void HttpServer::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    // The accept loop has ended, so no connection thread is added any more.
    for (std::thread& thread : m_connectionThreads) {
        if (thread.joinable())
            thread.join();
    }
    m_connectionThreads.clear();
    if (m_listener != INVALID_SOCKET) {
        closesocket(static_cast<SOCKET>(m_listener));
        m_listener = INVALID_SOCKET;
    }
}

bool HttpServer::Stopping() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stopping;
}

bool HttpServer::PauseUnlessStopping(unsigned ms) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_stopping; });
}

void HttpServer::AcceptLoop()
{
    const SOCKET listener = static_cast<SOCKET>(m_listener);
    while (!Stopping()) {
        if (!SocketReadable(listener, kPollMs))
            continue;
        const SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_connections;
        m_connectionThreads.emplace_back([this, client] { ServeConnection(client); });
    }
}

bool HttpServer::ReadRequest(Socket socket, HttpRequest& request)
{
    const SOCKET client = static_cast<SOCKET>(socket);
    const ULONGLONG deadline = GetTickCount64() + kRequestTimeoutMs;
    std::string received;
    size_t headEnd = std::string::npos;
    size_t bodyLength = 0;
    for (;;) {
        if (headEnd == std::string::npos) {
            headEnd = received.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                request.head = received.substr(0, headEnd + 2);
                ParseHead(request);
                const auto length = request.Header("Content-Length");
                if (length)
                    bodyLength = std::strtoul(length->c_str(), nullptr, 10);
                bodyLength = std::min(bodyLength, kMaxRequestBytes);
            }
        }
        if (headEnd != std::string::npos && received.size() >= headEnd + 4 + bodyLength) {
            request.body = received.substr(headEnd + 4, bodyLength);
            return true;
        }
        if (Stopping() || GetTickCount64() >= deadline || received.size() > kMaxRequestBytes) {
            return false;
        }
        if (!SocketReadable(client, kPollMs))
            continue;
        char buffer[4096];
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        received.append(buffer, static_cast<size_t>(n));
    }
}

void HttpServer::ServeConnection(Socket socket)
{
    const SOCKET client = static_cast<SOCKET>(socket);
    const DWORD sendTimeout = kSendTimeoutMs;
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeout),
               sizeof sendTimeout);

    HttpRequest request;
    if (ReadRequest(socket, request)) {
        HttpReply reply = ReplyFor(request.path);
        if (reply.authorization && request.Header("Authorization") != reply.authorization) {
            reply = HttpReply::Status("HTTP/1.0 401 Unauthorized", "");
            reply.headers.push_back("WWW-Authenticate: Basic realm=\"Quillsuite tests\"");
        }
        if (reply.proxyAuthorization && request.Header("Proxy-Authorization") != reply.proxyAuthorization) {
            reply = HttpReply::Status("HTTP/1.0 407 Proxy Authentication Required",
                                      "<html><body><h1>407 Proxy Authentication Required</h1></body></html>");
            reply.headers.push_back("Proxy-Authenticate: Basic realm=\"Quillsuite proxy\"");
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.push_back(request);
        }
        m_changed.notify_all();

        if (reply.delayMs == 0 || PauseUnlessStopping(reply.delayMs)) {
            const std::string bytes = reply.Bytes();
            switch (reply.kind) {
            case HttpReply::Kind::Answer:
                SendAll(client, bytes.data(), bytes.size());
                break;
            case HttpReply::Kind::CloseMidAnswer:
                SendAll(client, bytes.data(), std::min(reply.cutAfter, bytes.size()));
                if (reply.holdMs)
                    PauseUnlessStopping(reply.holdMs);
                break;
            case HttpReply::Kind::CloseWithoutAnswer:
                break;
            case HttpReply::Kind::Trickle:
                for (size_t i = 0; i < bytes.size() && PauseUnlessStopping(reply.trickleMs); ++i)
                    if (!SendAll(client, bytes.data() + i, 1))
                        break;
                break;
            case HttpReply::Kind::NeverAnswer:
                while (PauseUnlessStopping(1000)) {
                }
                break;
            }
        }
        if (reply.reset) {
            const linger abortive{1, 0};
            setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
                       sizeof abortive);
        } else {
            shutdown(client, SD_SEND);
        }
    }
    closesocket(client);
}

HttpReply HttpServer::ReplyFor(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_replies.find(path);
    return found != m_replies.end() ? found->second : m_default;
}

unsigned short UnusedLoopbackPort()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 0;
    unsigned short port = 0;
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (probe != INVALID_SOCKET) {
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
            && getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port = ntohs(address.sin_port);
        }
        closesocket(probe);
    }
    WSACleanup();
    return port;
}

SilentListener::SilentListener()
    : m_socket(INVALID_SOCKET)
{
    WSADATA data;
    m_winsockUp = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!m_winsockUp)
        return;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return;
    m_socket = listener;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && listen(listener, SOMAXCONN) == 0
        && getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
}

SilentListener::~SilentListener()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(static_cast<SOCKET>(m_socket));
    if (m_winsockUp)
        WSACleanup();
}

} // namespace qs::e2e
