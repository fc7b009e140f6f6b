// A loopback HTTP server for the tests: it listens on 127.0.0.1 on a port the system picks,
// answers each request the way the test set up for its path, and records every request.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qs::e2e {

// Waits until the socket can be read (or accepted on), at most `ms`; true when it can.
bool SocketReadable(std::uintptr_t socket, unsigned ms);

// One request as received.
struct HttpRequest
{
    std::string method;
    std::string path; // as sent in the request line (after the client's escaping)
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string head; // request line and headers exactly as received

    // The first header of that name (letter case ignored); nothing if absent.
    std::optional<std::string> Header(const std::string& name) const;
    std::string UserAgent() const { return Header("User-Agent").value_or(""); }
};

// How the server answers a request.
struct HttpReply
{
    enum class Kind {
        Answer,             // the whole answer
        CloseMidAnswer,     // the first `cutAfter` bytes of the answer, then close
        CloseWithoutAnswer, // close at once, sending nothing
        NeverAnswer,        // keep the connection open, silent, until the server stops
        Trickle,            // the whole answer, one byte every `trickleMs`
    };

    Kind kind = Kind::Answer;
    std::string statusLine = "HTTP/1.0 200 OK";
    std::vector<std::string> headers; // extra header lines, without CRLF
    std::string body;                 // any bytes, NUL included
    bool contentLength = true;        // add "Content-Length: <body size>"
    std::optional<std::string> raw;   // when set: exactly these bytes are the whole answer
    unsigned delayMs = 0;             // wait this long before answering (or closing)
    size_t cutAfter = 0;              // for CloseMidAnswer
    unsigned holdMs = 0;              // for CloseMidAnswer: keep the connection this long
                                      // before closing, so the client has read what came
    unsigned trickleMs = 0;           // for Trickle
    bool reset = false;               // close abortively (RST) instead of gracefully
    // When set: a request whose Authorization header is not exactly this gets a basic
    // challenge (401) instead.
    std::optional<std::string> authorization;
    // The same as a proxy: a request whose Proxy-Authorization header is not exactly this gets
    // a basic proxy challenge (407). Requests in absolute form ("GET http://host/path") are
    // served by their whole target, so the server answers as a proxy for any host.
    std::optional<std::string> proxyAuthorization;

    static HttpReply Ok(std::string body);
    static HttpReply Status(std::string statusLine, std::string body);
    static HttpReply Raw(std::string bytes);
    static HttpReply CloseMidAnswer(std::string body, size_t cutAfter);
    static HttpReply Trickle(std::string body, unsigned everyMs);
    static HttpReply CloseWithoutAnswer();
    static HttpReply NeverAnswer();
    HttpReply& Delay(unsigned ms)
    {
        delayMs = ms;
        return *this;
    }
    HttpReply& Hold(unsigned ms)
    {
        holdMs = ms;
        return *this;
    }
    HttpReply& Reset()
    {
        reset = true;
        return *this;
    }

    // The bytes of a whole answer: status line, headers, "Connection: close", body.
    std::string Bytes() const;
};

class HttpServer
{
public:
    // Starts listening and serving at once on `port` (0: one the system picks); check
    // Listening().
    explicit HttpServer(unsigned short port = 0);
    // Stops: closes the listening socket and every open connection and joins all threads.
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool Listening() const { return m_port != 0; }
    unsigned short Port() const { return m_port; }
    // "127.0.0.1:PORT"
    std::string Address() const;
    // "http://127.0.0.1:PORT" followed by `path`.
    std::string Url(const std::string& path) const;

    // The reply for requests of exactly this path (as sent in the request line).
    void Serve(const std::string& path, HttpReply reply);
    // The reply for all other paths; at first "HTTP/1.0 404 Not Found".
    void SetDefault(HttpReply reply);

    std::vector<HttpRequest> Requests() const;
    size_t RequestCount() const;
    // Connections accepted, with or without a complete request.
    size_t ConnectionCount() const;
    // True once `count` requests have arrived (waiting at most `timeoutMs`).
    bool WaitForRequests(size_t count, unsigned timeoutMs) const;

    void Stop();

private:
    // A Winsock SOCKET, kept as its integer so that this header needs no Winsock header.
    using Socket = std::uintptr_t;

    void AcceptLoop();
    void ServeConnection(Socket client);
    bool ReadRequest(Socket client, HttpRequest& request);
    HttpReply ReplyFor(const std::string& path) const;
    bool Stopping() const;
    // Waits `ms`, returning early (false) when the server stops.
    bool PauseUnlessStopping(unsigned ms) const;

    Socket m_listener;
    unsigned short m_port = 0;
    bool m_winsockUp = false;
    std::thread m_acceptThread;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    std::map<std::string, HttpReply> m_replies;
    HttpReply m_default;
    std::vector<HttpRequest> m_requests;
    size_t m_connections = 0;
    std::vector<std::thread> m_connectionThreads;
};

// A loopback port on which nothing listens right now (bound once, then released).
unsigned short UnusedLoopbackPort();

// A loopback port that takes connections (the system completes them for the listening
// socket) and never reads or sends a byte on them: a server that falls silent right after
// the connection, before a TLS handshake or a request is answered.
class SilentListener
{
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    // 0 when it could not listen.
    unsigned short Port() const { return m_port; }

private:
    std::uintptr_t m_socket; // a Winsock SOCKET
    unsigned short m_port = 0;
    bool m_winsockUp = false;
};

} // namespace qs::e2e
