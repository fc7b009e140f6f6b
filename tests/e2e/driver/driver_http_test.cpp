// The loopback HTTP server as the system's HTTP client (WinINet) sees it.
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "HttpServer.h"

namespace qs::e2e {
namespace {

constexpr char kAgent[] = "QsDriverTest/1.0";

// An Internet handle closed when the scope ends.
struct InternetHandle
{
    HINTERNET h;
    explicit InternetHandle(HINTERNET handle)
        : h(handle)
    {
    }
    ~InternetHandle()
    {
        if (h)
            InternetCloseHandle(h);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
};

struct Fetched
{
    bool opened = false;
    DWORD openError = 0;
    DWORD status = 0;
    bool readOk = true;
    DWORD readError = 0;
    std::string bytes;
};

Fetched Fetch(const std::string& url)
{
    Fetched result;
    InternetHandle session(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session.h) {
        result.openError = GetLastError();
        return result;
    }
    InternetHandle file(InternetOpenUrlA(
        session.h, url.c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE, 0));
    if (!file.h) {
        result.openError = GetLastError();
        return result;
    }
    result.opened = true;
    DWORD size = sizeof result.status;
    HttpQueryInfoA(file.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &result.status, &size, nullptr);
    char buffer[1024];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(file.h, buffer, sizeof buffer, &read)) {
            result.readOk = false;
            result.readError = GetLastError();
            break;
        }
        if (read == 0)
            break;
        result.bytes.append(buffer, read);
    }
    return result;
}

class HttpServerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.Listening()); }
    HttpServer server;
};

TEST_F(HttpServerTest, ServesExactBytesAndRecordsPathAndAgent)
{
    const std::string body("1.2.3\0build 7\r\n\xff\x80 end", 21);
    server.Serve("/dir/version.txt", HttpReply::Ok(body));

    EXPECT_EQ(server.Address(), "127.0.0.1:" + std::to_string(server.Port()));
    const Fetched fetched = Fetch(server.Url("/dir/version.txt"));

    ASSERT_TRUE(fetched.opened) << fetched.openError;
    EXPECT_EQ(fetched.status, 200u);
    EXPECT_EQ(fetched.bytes, body);
    ASSERT_EQ(server.RequestCount(), 1u);
    const HttpRequest request = server.Requests()[0];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/dir/version.txt");
    EXPECT_EQ(request.UserAgent(), kAgent);
    EXPECT_EQ(request.Header("host").value_or(""), server.Address());
}

TEST_F(HttpServerTest, UnknownPathAnswersNotFoundWithItsPage)
{
    const Fetched fetched = Fetch(server.Url("/missing"));
    ASSERT_TRUE(fetched.opened) << fetched.openError;
    EXPECT_EQ(fetched.status, 404u);
    EXPECT_EQ(fetched.bytes, "not found");
}

TEST_F(HttpServerTest, RawAnswerIsSentAsIs)
{
    server.Serve("/raw", HttpReply::Raw("HTTP/1.0 200 OK\r\n\r\nno length, ends at close"));
    const Fetched fetched = Fetch(server.Url("/raw"));
    ASSERT_TRUE(fetched.opened) << fetched.openError;
    EXPECT_EQ(fetched.bytes, "no length, ends at close");
}

TEST(HttpServerRefused, ClosedPortFailsWithCannotConnect)
{
    const unsigned short port = UnusedLoopbackPort();
    ASSERT_NE(port, 0);
    const Fetched fetched = Fetch("http://127.0.0.1:" + std::to_string(port) + "/v.txt");
    EXPECT_FALSE(fetched.opened);
    EXPECT_EQ(fetched.openError, static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT)); // 12029
}

TEST_F(HttpServerTest, DelayHoldsTheAnswerBack)
{
    server.Serve("/slow", HttpReply::Ok("late").Delay(600));
    const ULONGLONG start = GetTickCount64();
    const Fetched fetched = Fetch(server.Url("/slow"));
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_EQ(fetched.bytes, "late");
    EXPECT_GE(elapsed, 550u);
}

// Wine's WinINet opens such a request all the same, with status 0 and no bytes.
TEST_F(HttpServerTest, ClosingWithoutAnswerSendsNothingButIsRecorded)
{
    server.Serve("/gone", HttpReply::CloseWithoutAnswer());
    const Fetched fetched = Fetch(server.Url("/gone"));
    EXPECT_EQ(fetched.status, 0u);
    EXPECT_EQ(fetched.bytes, "");
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].path, "/gone");
}

TEST_F(HttpServerTest, ClosingMidAnswerDeliversOnlyTheFirstPart)
{
    const std::string body = "0123456789abcdefghij";
    HttpReply reply = HttpReply::CloseMidAnswer(body, 0);
    reply.cutAfter = reply.Bytes().size() - 12; // the head and the first 8 bytes of the body
    server.Serve("/cut", reply);
    const Fetched fetched = Fetch(server.Url("/cut"));
    ASSERT_TRUE(fetched.opened) << fetched.openError;
    EXPECT_EQ(fetched.bytes, body.substr(0, 8));
}

// Wine's WinINet has no receive timeout: the client waits until the server stops.
TEST_F(HttpServerTest, NeverAnsweringHoldsTheClientUntilTheServerStops)
{
    server.Serve("/silent", HttpReply::NeverAnswer());
    server.Serve("/marker", HttpReply::Ok("marker"));
    std::atomic<bool> done{false};
    Fetched fetched;
    std::thread client([&] {
        fetched = Fetch(server.Url("/silent"));
        done = true;
    });
    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    // A whole exchange on a second connection, begun after the silent request had arrived:
    // a server that answered or closed the silent one would have done so before this ends.
    EXPECT_EQ(Fetch(server.Url("/marker")).bytes, "marker");
    EXPECT_FALSE(done);

    const ULONGLONG start = GetTickCount64();
    server.Stop();
    EXPECT_LT(GetTickCount64() - start, 1000u);
    client.join();
    EXPECT_EQ(fetched.bytes, "");
    EXPECT_EQ(fetched.status, 0u);
}

} // namespace
} // namespace qs::e2e
