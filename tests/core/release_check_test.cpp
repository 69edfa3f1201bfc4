#include "core/release_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/http_get.h"
#include "support/loopback_http_server.h"

namespace orv {
namespace {

TEST(ReleaseCheckTest, EveryModelButTheLargestHasAProductPage) {
    EXPECT_EQ(ProductPagePath("ORV310"), "/pages/XRM7LT");
    EXPECT_EQ(ProductPagePath("ORV311P"), "/pages/L7QLD9");
    EXPECT_EQ(ProductPagePath("ORV320"), "/pages/Z6D9XR");
    EXPECT_EQ(ProductPagePath("ORV340"), "/pages/B9K5YA");
    EXPECT_EQ(ProductPagePath("ORV340X"), "");
    EXPECT_EQ(ProductPagePath("orv310"), "");
}

TEST(ReleaseCheckTest, TheLastVersionMarkOfThePageGivesUpToSixBytes) {
    struct Case {
        const char* page;
        const char* latest;
    };
    const Case cases[] = {
        {"<p>Version: 25.004</p>", "25.004"},
        {"<p>Version: 25.1</p>", "25.1</"},
        {"Version: 24.100 and later Version: 25.002.", "25.002"},
        {"Version: 25.009 then Version: 25.002", "25.002"},
        {"ends with Version: 26", "26"},
        {"ends with Version: ", ""},
        {"version: 26.000", "0.000"},    // the mark is case-sensitive
        {"Version:26.000", "0.000"},     // and has its blank
        {"Version:  26.000", " 26.00"},  // a second blank is a byte of the version
        {"", "0.000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LatestVersionText(c.page), c.latest) << c.page;
    // The bytes are taken as they are, a zero byte included.
    EXPECT_EQ(LatestVersionText(std::string_view("Version: 2\0.5xyz", 17)),
              std::string("2\0.5xy", 6));
}

TEST(ReleaseCheckTest, TheVersionIsTheNumberAtTheStartOfItsText) {
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {
        {"25.004", 25.004f}, {"25.1</", 25.1f}, {" 26.00", 26.0f}, {"26", 26.0f},
        {".5abc", 0.5f},     {"beta-1", 0.0f},  {"", 0.0f},        {"v25.01", 0.0f},
        {"-1.000", -1.0f},   {"+1.5", 1.5f},    {"1e3", 1000.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseVersionText(c.text), c.value) << c.text;
}

TEST(ReleaseCheckTest, ANewerReleaseDiffersInItsThreeDecimals) {
    EXPECT_TRUE(IsNewerRelease(25.004f, 25.003f));
    EXPECT_TRUE(IsNewerRelease(25.1f, 25.003f));
    EXPECT_FALSE(IsNewerRelease(25.003f, 25.003f));
    EXPECT_FALSE(IsNewerRelease(25.0034f, 25.003f));
    EXPECT_FALSE(IsNewerRelease(25.002f, 25.003f));
    EXPECT_FALSE(IsNewerRelease(0.0f, 25.003f));
}

TEST(ReleaseCheckTest, TheOfferNamesBothVersionsAndTheDownloadPage) {
    const ReleaseServer server{"www.example.test:8080", 10000};
    EXPECT_EQ(ServerAddress(server, kDownloadPagePath),
              "http://www.example.test:8080/pages/software");
    EXPECT_EQ(ReleaseOfferText(25.003f, 25.1f, "http://host/pages/software"),
              "Current software version: 25.003\n\nLatest software version: 25.100\n\n"
              "Click YES to goto our website (http://host/pages/software) or NO to continue.");
}

// The transfer against a server of the test's own.

HttpGetState RunToEnd(HttpGet& get) {
    HttpGetState state = PollHttpGet(get);
    while (state == HttpGetState::Running) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        state = PollHttpGet(get);
    }
    return state;
}

TEST(HttpGetTest, APageArrivesWholeWhateverItsStatus) {
    for (const int status : {200, 404}) {
        test::LoopbackHttpServer server({status, "<html>Version: 25.004</html>"});
        ASSERT_FALSE(server.Host().empty());
        HttpGet get;
        ASSERT_TRUE(StartHttpGet(get, "http://" + server.Host() + "/pages/XRM7LT", 5000));
        EXPECT_EQ(RunToEnd(get), HttpGetState::Done) << status;
        EXPECT_EQ(PollHttpGet(get), HttpGetState::Done) << "the outcome stays";
        EXPECT_EQ(get.body, "<html>Version: 25.004</html>");
        EXPECT_EQ(server.RequestLines(), std::vector<std::string>{"GET /pages/XRM7LT HTTP/1.1"});
    }
}

TEST(HttpGetTest, ASilentServerFailsOnceTheTimeIsUp) {
    test::LoopbackHttpServer server({200, "", false});
    HttpGet get;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(StartHttpGet(get, "http://" + server.Host() + "/", 300));
    EXPECT_EQ(RunToEnd(get), HttpGetState::Failed);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(290));
    EXPECT_LT(elapsed, std::chrono::seconds(3));
    EXPECT_EQ(server.Connections(), 1);
}

TEST(HttpGetTest, NoServerAndEndlessPagesFail) {
    std::string host;
    {
        const test::LoopbackHttpServer closed({});
        host = closed.Host();
    }
    HttpGet refused;
    ASSERT_TRUE(StartHttpGet(refused, "http://" + host + "/", 5000));
    EXPECT_EQ(RunToEnd(refused), HttpGetState::Failed);

    test::LoopbackHttpServer huge({200, std::string(17 * 1024 * 1024, 'x')});
    HttpGet tooLong;
    ASSERT_TRUE(StartHttpGet(tooLong, "http://" + huge.Host() + "/", 5000));
    EXPECT_EQ(RunToEnd(tooLong), HttpGetState::Failed);
    EXPECT_LE(tooLong.body.size(), 16u * 1024 * 1024);

    HttpGet notHttp;
    EXPECT_TRUE(!StartHttpGet(notHttp, "file:///etc/passwd", 5000) ||
                RunToEnd(notHttp) == HttpGetState::Failed);
    EXPECT_TRUE(notHttp.body.empty());
}

}  // namespace
}  // namespace orv
