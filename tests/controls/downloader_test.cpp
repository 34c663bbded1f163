// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controls/downloader.h"

#include "test_strings.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

using namespace kestrova;
using namespace std::chrono_literals;

namespace {

// A local server on 127.0.0.1 with a few resources that behave the ways a transfer can.
class LocalServer {
public:
    LocalServer() {
        m_server.Get("/text", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string("caf\xE9 \x01 end", 10), "text/plain");
        });
        m_server.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("", "text/plain");
        });
        m_server.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(3 * 4096, "application/octet-stream",
                                     [](size_t offset, size_t, httplib::DataSink& sink) {
                                         std::this_thread::sleep_for(60ms);
                                         const std::string chunk(4096, char('a' + offset / 4096));
                                         sink.write(chunk.data(), chunk.size());
                                         return true;
                                     });
        });
        m_server.Get("/delayed", [this](const httplib::Request& req, httplib::Response& res) {
            ++m_delayedRequests;
            std::this_thread::sleep_for(300ms);
            res.set_content("delayed " + req.get_param_value("n"), "text/plain");
        });
        m_server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("not here", "text/plain");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_server.is_running(); }, 5000))
            << "the local server did not start";
    }
    ~LocalServer() {
        m_server.stop();
        m_thread.join();
    }
    QString url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(QLatin1String(path));
    }
    int delayedRequests() const { return m_delayedRequests; }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<int> m_delayedRequests{0};
};

struct Completion {
    QString url;
    QString data;
    QString key;
    QString failure;
};

struct Listener {
    explicit Listener(Downloader& d) : downloader(d) {
        QObject::connect(&d, &Downloader::Complete,
                         [this](QString& url, QString& data, QString& key) {
                             done.push_back({url, data, key, downloader.failureDescription()});
                         });
        QObject::connect(&d, &Downloader::Progress,
                         [this](QString&, QString& key, int bytes, int total, int status) {
                             progress.push_back({key, bytes, total, status});
                         });
    }
    bool waitFor(std::size_t completions, int ms = 5000) {
        return QTest::qWaitFor([&] { return done.size() >= completions; }, ms);
    }
    struct Step {
        QString key;
        int bytes;
        int total;
        int status;
    };
    Downloader& downloader;
    std::vector<Completion> done;
    std::vector<Step> progress;
};

// Records the cache-load control of every request it is asked for.
class RecordingNetwork : public QNetworkAccessManager {
public:
    std::vector<int> cacheControls;

protected:
    QNetworkReply* createRequest(Operation op, const QNetworkRequest& request,
                                 QIODevice* data) override {
        cacheControls.push_back(
            request.attribute(QNetworkRequest::CacheLoadControlAttribute).toInt());
        return QNetworkAccessManager::createRequest(op, request, data);
    }
};

}  // namespace

TEST(Downloader, CompletesWithTheBytesAsLatinOneText) {
    LocalServer server;
    Downloader d;
    Listener l(d);
    const QString url = server.url("/text");
    d.Start(url);
    EXPECT_EQ(d.keyList(), QChar(0) + url + QChar(0));
    ASSERT_TRUE(l.waitFor(1));
    EXPECT_EQ(l.done[0].url, url);
    EXPECT_EQ(l.done[0].key, url);  // no key: the URL is the key
    EXPECT_EQ(l.done[0].data, QString::fromLatin1("caf\xE9 \x01 end", 10));
    EXPECT_TRUE(l.done[0].failure.isEmpty());
    EXPECT_EQ(d.keyList(), QString(QChar(0)));
}

TEST(Downloader, SlowTransferReportsProgressUntilComplete) {
    LocalServer server;
    Downloader d;
    Listener l(d);
    d.Start(server.url("/slow"), 0, QStringLiteral("slow"));
    ASSERT_TRUE(l.waitFor(1));
    EXPECT_EQ(l.done[0].data.size(), 3 * 4096);
    EXPECT_TRUE(l.done[0].data.endsWith(QString(4096, u'c')));
    ASSERT_GE(l.progress.size(), 2u);
    for (std::size_t i = 1; i < l.progress.size(); ++i) {
        EXPECT_GE(l.progress[i].bytes, l.progress[i - 1].bytes);
    }
    EXPECT_EQ(l.progress.back().bytes, 3 * 4096);
    EXPECT_EQ(l.progress.back().total, 3 * 4096);
    EXPECT_EQ(l.progress.back().status, 200);
    EXPECT_EQ(l.progress.back().key, u"slow");
}

TEST(Downloader, TwoKeysForOneUrlRunSideBySide) {
    LocalServer server;
    Downloader d;
    Listener l(d);
    const QString url = server.url("/delayed?n=1");
    d.Start(url, 0, QStringLiteral("first"));
    d.Start(url, 0, QStringLiteral("second"));
    const QChar nul(0);
    EXPECT_EQ(d.keyList(), nul + u"first" + nul + u"second" + nul);
    ASSERT_TRUE(l.waitFor(2));
    QStringList keys{l.done[0].key, l.done[1].key};
    keys.sort();
    EXPECT_EQ(keys, (strings({"first", "second"})));
    EXPECT_EQ(l.done[0].data, u"delayed 1");
    EXPECT_EQ(l.done[1].data, u"delayed 1");
    EXPECT_EQ(d.keyList(), QString(nul));
}

TEST(Downloader, StartingARunningKeyCancelsTheFirstTransfer) {
    LocalServer server;
    Downloader d;
    Listener l(d);
    const QString first = server.url("/delayed?n=1");
    d.Start(first);
    d.Start(first);  // same URL, no key: the same key
    d.Start(server.url("/delayed?n=2"), 0, QStringLiteral("k"));
    d.Start(server.url("/delayed?n=3"), 0, QStringLiteral("k"));
    ASSERT_TRUE(l.waitFor(2));
    // The server answers each request after the same delay, so a transfer started now ends
    // after any that had been sent with the cancelled ones.
    d.Start(server.url("/delayed?n=4"), 0, QStringLiteral("later"));
    ASSERT_TRUE(l.waitFor(3));
    ASSERT_EQ(l.done.size(), 3u);
    EXPECT_EQ(l.done.back().key, u"later");
    l.done.pop_back();
    for (const Completion& c : l.done) {
        if (c.key == u"k") {
            EXPECT_EQ(c.data, u"delayed 3");
            EXPECT_TRUE(c.url.endsWith(u"n=3"));
        } else {
            EXPECT_EQ(c.key, first);
            EXPECT_EQ(c.data, u"delayed 1");
        }
    }
    EXPECT_EQ(d.keyList(), QString(QChar(0)));
}

TEST(Downloader, AKeyStartedAgainAfterCompleteIsAddedAnew) {
    LocalServer server;
    Downloader d;
    Listener l(d);
    d.Start(server.url("/empty"), 0, QStringLiteral("k"));
    ASSERT_TRUE(l.waitFor(1));
    EXPECT_TRUE(l.done[0].data.isEmpty());
    EXPECT_TRUE(l.done[0].failure.isEmpty()) << "an empty body is no failure";
    EXPECT_EQ(d.keyList(), QString(QChar(0)));
    d.Start(server.url("/text"), 0, QStringLiteral("k"));
    EXPECT_TRUE(d.isRunning(QStringLiteral("k")));
    ASSERT_TRUE(l.waitFor(2));
    EXPECT_FALSE(l.done[1].data.isEmpty());
}

TEST(Downloader, RestartFromInsideCompleteKeepsTheNewTransferListed) {
    LocalServer server;
    Downloader d;
    Listener l(d);
    bool restarted = false;
    bool listedDuringSecond = false;
    QObject::connect(&d, &Downloader::Complete, [&](QString&, QString&, QString& key) {
        if (!restarted) {
            restarted = true;
            d.Start(server.url("/delayed?n=2"), 0, key);
        }
    });
    QObject::connect(&d, &Downloader::Progress, [&](QString&, QString& key, int, int, int) {
        listedDuringSecond = listedDuringSecond || (restarted && d.isRunning(key));
    });
    d.Start(server.url("/empty"), 0, QStringLiteral("k"));
    ASSERT_TRUE(l.waitFor(2));
    EXPECT_EQ(l.done[1].data, u"delayed 2");
    EXPECT_TRUE(listedDuringSecond);
    EXPECT_EQ(d.keyList(), QString(QChar(0)));
}

TEST(Downloader, FailedTransferCompletesEmptyWithTheFailureDescribed) {
    LocalServer server;
    Downloader d;
    Listener l(d);
    d.Start(server.url("/missing"), 0, QStringLiteral("404"));
    d.Start(QStringLiteral("http://127.0.0.1:1/nothing-listens"), 0, QStringLiteral("refused"));
    ASSERT_TRUE(l.waitFor(2));
    for (const Completion& c : l.done) {
        EXPECT_TRUE(c.data.isEmpty()) << c.key.toStdString();
        EXPECT_FALSE(c.failure.isEmpty()) << c.key.toStdString();
    }
    EXPECT_TRUE(d.failureDescription().isEmpty());  // only while Complete is raised
}

TEST(Downloader, CacheModeIsTheRequestsCacheLoadControl) {
    LocalServer server;
    RecordingNetwork network;
    Downloader d(nullptr, &network);
    Listener l(d);
    d.Start(server.url("/empty"), int(QNetworkRequest::PreferCache), QStringLiteral("a"));
    d.Start(server.url("/empty"), int(QNetworkRequest::AlwaysNetwork), QStringLiteral("b"));
    ASSERT_TRUE(l.waitFor(2));
    EXPECT_EQ(network.cacheControls,
              (std::vector<int>{QNetworkRequest::PreferCache, QNetworkRequest::AlwaysNetwork}));
}
