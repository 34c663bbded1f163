// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "portal_server.h"

#include "portal_pages.h"

#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <stdexcept>

namespace kestrova::portal {

namespace {

using namespace std::chrono;
using httplib::Request;
using httplib::Response;

constexpr const char* kHtml = "text/html; charset=utf-8";

std::optional<int> number(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(text);
}

std::optional<Date> dateFrom(const Request& req, std::string_view day, std::string_view month,
                             std::string_view year) {
    const auto d = number(req.get_param_value(std::string(day)));
    const auto m = number(req.get_param_value(std::string(month)));
    const auto y = number(req.get_param_value(std::string(year)));
    if (!d || !m || !y) {
        return std::nullopt;
    }
    const Date date{std::chrono::year(*y), std::chrono::month(unsigned(*m)),
                    std::chrono::day(unsigned(*d))};
    return date.ok() ? std::optional(date) : std::nullopt;
}

// "YYYY-MM": the first day of that month.
std::optional<Date> monthFrom(const std::string& text) {
    return text.size() == 7 ? parseIsoDate(text + "-01") : std::nullopt;
}

std::string cookieValue(const Request& req, std::string_view name) {
    const std::string header = req.get_header_value("Cookie");
    std::size_t at = 0;
    while (at < header.size()) {
        std::size_t end = header.find(';', at);
        if (end == std::string::npos) {
            end = header.size();
        }
        std::string_view pair(header.data() + at, end - at);
        while (!pair.empty() && pair.front() == ' ') {
            pair.remove_prefix(1);
        }
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
            pair[name.size()] == '=') {
            return std::string(pair.substr(name.size() + 1));
        }
        at = end + 1;
    }
    return {};
}

}  // namespace

struct PortalServer::Impl {
    explicit Impl(PortalOptions o) : options(std::move(o)), pages(options.omit) {}

    PortalOptions options;
    Pages pages;
    httplib::Server server;
    int port = -1;

    std::mutex runMutex;
    enum class Run { NotStarted, Listening, Done } run = Run::NotStarted;

    std::mutex mutex;
    std::map<std::string, std::string> sessions;  // token -> user id
    std::mt19937_64 tokens{std::random_device{}()};

    Date today() const { return options.today ? *options.today : localToday(); }

    bool credentialsAccepted(const std::string& user, const std::string& password) const {
        if (password != options.password || user.empty()) {
            return false;
        }
        return options.anyUser || user == options.user;
    }

    std::string openSession(const std::string& user) {
        std::lock_guard lock(mutex);
        char token[33];
        std::snprintf(token, sizeof token, "%016llx%016llx",
                      static_cast<unsigned long long>(tokens()),
                      static_cast<unsigned long long>(tokens()));
        sessions[token] = user;
        return token;
    }

    std::optional<std::string> sessionUser(const Request& req) {
        const std::string token = cookieValue(req, kSessionCookie);
        std::lock_guard lock(mutex);
        const auto found = sessions.find(token);
        if (token.empty() || found == sessions.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    void dropSession(const Request& req) {
        const std::string token = cookieValue(req, kSessionCookie);
        std::lock_guard lock(mutex);
        sessions.erase(token);
    }

    template <typename Handler>
    auto loggedIn(Handler handler) {
        return [this, handler](const Request& req, Response& res) {
            const std::optional<std::string> user = sessionUser(req);
            if (!user) {
                res.set_content(pages.login({}), kHtml);
                return;
            }
            handler(req, res, *user);
        };
    }

    void usageView(const Request& req, Response& res, const std::string& user) {
        const Date now = today();
        UsageViewState state;
        state.from = Date{now.year(), now.month(), std::chrono::day(1)};
        state.to = now;
        state.lastYear = int(now.year());
        state.firstYear = state.lastYear - 2;
        if (req.has_param("show")) {
            const auto from = dateFrom(req, kFromDay, kFromMonth, kFromYear);
            const auto to = dateFrom(req, kToDay, kToMonth, kToYear);
            if (!from || !to) {
                state.error = "Select a valid From and To date.";
            } else if (sys_days(*from) > sys_days(*to)) {
                state.from = *from;
                state.to = *to;
                state.error = "The From date must not be after the To date.";
            } else {
                state.from = *from;
                state.to = *to;
                state.showDetails = true;
                state.sessions =
                    usageRecords(user, *from, std::min(*to, now), options.sessionsPerDay).size();
                state.downloadHref =
                    options.downloadLink.empty()
                        ? "/usage.csv?from=" + isoDate(*from) + "&to=" + isoDate(*to)
                        : options.downloadLink;
            }
        }
        res.set_content(pages.usageView(state), kHtml);
    }

    void download(const Request& req, Response& res) {
        if (options.failDownload) {
            res.status = 500;
            return;
        }
        if (options.dropSessionBeforeDownload) {
            dropSession(req);
        }
        const std::optional<std::string> user = sessionUser(req);
        if (!user) {
            res.set_content(pages.login({}), kHtml);
            return;
        }
        const auto from = parseIsoDate(req.get_param_value("from"));
        const auto to = parseIsoDate(req.get_param_value("to"));
        if (!from || !to || sys_days(*from) > sys_days(*to)) {
            res.status = 400;
            res.set_content("from and to must be dates as YYYY-MM-DD, from not after to\n",
                            "text/plain");
            return;
        }
        res.set_header("Content-Disposition", "attachment; filename=\"usage.csv\"");
        if (options.hugeLogMb > 0 || options.endlessLog || options.resetAfterKb > 0) {
            bulkLog(res, *from);
            return;
        }
        // The portal has no usage after today.
        const Date last = std::min(*to, today());
        res.set_content(usageLog(usageRecords(*user, *from, last, options.sessionsPerDay)),
                        "text/csv");
    }

    // A log of one record over and over, sent a piece at a time: as long as --huge-log says,
    // without end, or broken off after --reset-download-after.
    void bulkLog(Response& res, Date day) const {
        const auto text = std::make_shared<const std::string>(
            "Date,Time,Duration,Download (MB),Upload (MB),Total (MB)\r\n" + isoDate(day) +
            ",23:39:06,02:11:18,93.9596,6.7114,100.6710\r\n");
        static constexpr std::size_t kHeader = 57;  // the header line's length
        // The bytes of the log from `offset`: the header, then the record line repeated.
        const auto piece = [text](std::size_t offset, std::size_t length) {
            std::string out;
            out.reserve(length);
            const std::size_t line = text->size() - kHeader;
            while (out.size() < length) {
                const std::size_t at = offset + out.size();
                if (at < kHeader) {
                    out += text->substr(at, std::min(kHeader - at, length - out.size()));
                } else {
                    const std::size_t inLine = (at - kHeader) % line;
                    out += text->substr(kHeader + inLine,
                                        std::min(line - inLine, length - out.size()));
                }
            }
            return out;
        };
        static constexpr std::size_t kPiece = std::size_t(64) * 1024;
        if (options.endlessLog) {
            res.set_chunked_content_provider("text/csv",
                                             [piece](std::size_t offset, httplib::DataSink& sink) {
                                                 const std::string bytes = piece(offset, kPiece);
                                                 return sink.write(bytes.data(), bytes.size());
                                             });
            return;
        }
        const std::size_t breakAt = std::size_t(options.resetAfterKb) * 1024;
        const std::size_t length =
            breakAt > 0 ? 2 * breakAt : std::size_t(options.hugeLogMb) * 1024 * 1024;
        res.set_content_provider(
            length, "text/csv",
            [piece, breakAt](std::size_t offset, std::size_t left, httplib::DataSink& sink) {
                if (breakAt > 0 && offset >= breakAt) {
                    return false;  // the connection is closed half-way
                }
                std::size_t size = std::min(left, kPiece);
                if (breakAt > 0) {
                    size = std::min(size, breakAt - offset);
                }
                const std::string bytes = piece(offset, size);
                return sink.write(bytes.data(), bytes.size());
            });
    }

    void table(const Request& req, Response& res, const std::string& user, Billing billing) {
        const Date now = today();
        const Date thisMonth{now.year(), now.month(), std::chrono::day(1)};
        Date from = thisMonth;
        Date to = now;
        std::string base = "/usage/unbilled?";
        UsageTablePage p;
        p.billing = billing;
        if (billing == Billing::Billed) {
            const Date lastMonth =
                Date(thisMonth.year(), thisMonth.month() - months(1), std::chrono::day(1));
            const std::optional<Date> month =
                req.has_param("month") ? monthFrom(req.get_param_value("month")) : lastMonth;
            if (!month || sys_days(*month) >= sys_days(thisMonth)) {
                res.set_content(pages.notAvailable(), kHtml);
                return;
            }
            from = *month;
            to = Date(month->year() / month->month() / std::chrono::last);
            base = "/usage/billed?month=" + isoDate(from).substr(0, 7) + "&";
            p.title = "Billed usage details for " + isoDate(from).substr(0, 7);
        } else {
            p.title = "Unbilled usage details";
        }
        const std::vector<UsageRecord> records =
            usageRecords(user, from, to, options.sessionsPerDay);
        const auto size = std::size_t(options.pageSize);
        const int pageCount = int((records.size() + size - 1) / size);
        const std::string pageText = req.has_param("page") ? req.get_param_value("page") : "0";
        const std::optional<int> page = number(pageText);
        if (records.empty() || !page || *page >= pageCount) {
            res.set_content(pages.notAvailable(), kHtml);
            return;
        }
        p.page = *page;
        p.pageCount = pageCount;
        p.firstEntry = std::size_t(p.page) * size;
        p.totalEntries = records.size();
        const std::size_t end = std::min(records.size(), p.firstEntry + size);
        p.entries.assign(records.begin() + std::ptrdiff_t(p.firstEntry),
                         records.begin() + std::ptrdiff_t(end));
        if (p.page > 0) {
            p.previousHref = base + "page=" + std::to_string(p.page - 1);
        }
        if (p.page + 1 < pageCount) {
            p.nextHref = base + "page=" + std::to_string(p.page + 1);
        }
        res.set_content(pages.usageTable(p), kHtml);
    }

    void routes() {
        // httplib's default adds SO_REUSEPORT, which lets a second portal share a taken port
        // unnoticed (the kernel then splits the requests between the two).
        server.set_socket_options([](int socket) {
            const int yes = 1;
            setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        });
        server.set_default_headers({{"Cache-Control", "no-store"}});
        // Chromium keeps connections open; a short keep-alive and enough workers stop idle
        // connections from holding up the next page.
        server.set_keep_alive_timeout(2);
        server.new_task_queue = [] { return new httplib::ThreadPool(32); };

        server.set_pre_routing_handler([this](const Request& req, Response&) {
            // The library would answer "br" with brotli at its top quality, which took most of
            // a second for a month's log of 3,000 lines; portals answer with gzip. The request
            // is the server's own object, handed over as const.
            auto& request = const_cast<Request&>(req);
            if (const auto found = request.headers.find("Accept-Encoding");
                found != request.headers.end() && found->second.find("br") != std::string::npos) {
                const bool gzip = found->second.find("gzip") != std::string::npos;
                request.headers.erase(found);
                if (gzip) {
                    request.headers.emplace("Accept-Encoding", "gzip");
                }
            }
            if (options.delayMs > 0) {
                std::this_thread::sleep_for(milliseconds(options.delayMs));
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
        if (options.verbose) {
            server.set_logger([](const Request& req, const Response& res) {
                std::fprintf(stderr, "%s %s -> %d\n", req.method.c_str(), req.target.c_str(),
                             res.status);
            });
        }

        server.Get("/", [this](const Request&, Response& res) {
            res.set_content(pages.login({}), kHtml);
        });
        server.Get("/frames/notice", [this](const Request&, Response& res) {
            res.set_content(pages.noticeFrame(), kHtml);
        });
        server.Post("/login", [this](const Request& req, Response& res) {
            const std::string user = req.get_param_value("logonuidfield");
            if (!credentialsAccepted(user, req.get_param_value("logonpassfield"))) {
                res.set_content(pages.login("Your logon attempt has failed. Check your user id "
                                            "and password."),
                                kHtml);
                return;
            }
            res.set_header("Set-Cookie", std::string(kSessionCookie) + '=' + openSession(user) +
                                             "; Path=/; HttpOnly; SameSite=Lax");
            res.set_redirect("/home", 303);
        });
        server.Get("/home", loggedIn([this](const Request&, Response& res, const std::string& u) {
                       res.set_content(pages.top(u), kHtml);
                   }));
        auto fixed = [this](std::string (Pages::*make)() const) {
            return loggedIn([this, make](const Request&, Response& res, const std::string&) {
                res.set_content((pages.*make)(), kHtml);
            });
        };
        server.Get("/frames/header", fixed(&Pages::headerFrame));
        server.Get("/frames/menu", fixed(&Pages::menuFrame));
        server.Get("/frames/work", fixed(&Pages::workFrame));
        server.Get("/frames/title", fixed(&Pages::titleFrame));
        server.Get("/nav", fixed(&Pages::navigation));
        server.Get("/nav/services", fixed(&Pages::services));
        server.Get("/nav/usage",
                   loggedIn([this](const Request& req, Response& res, const std::string& u) {
                       usageView(req, res, u);
                   }));
        server.Get("/usage.csv", [this](const Request& req, Response& res) { download(req, res); });
        server.Get("/usage/unbilled",
                   loggedIn([this](const Request& req, Response& res, const std::string& u) {
                       table(req, res, u, Billing::Unbilled);
                   }));
        server.Get("/usage/billed",
                   loggedIn([this](const Request& req, Response& res, const std::string& u) {
                       table(req, res, u, Billing::Billed);
                   }));
    }
};

PortalServer::PortalServer(PortalOptions options)
    : m_impl(std::make_unique<Impl>(std::move(options))) {
    m_impl->routes();
}

PortalServer::~PortalServer() {
    if (m_thread.joinable()) {
        stop();
        m_thread.join();
    }
}

int PortalServer::bind() {
    const std::string host = "127.0.0.1";
    const int wanted = m_impl->options.port;
    const int port = wanted == 0 ? m_impl->server.bind_to_any_port(host)
                                 : (m_impl->server.bind_to_port(host, wanted) ? wanted : -1);
    if (port <= 0) {
        throw std::runtime_error("cannot listen on " + host + ':' + std::to_string(wanted));
    }
    m_impl->port = port;
    return port;
}

void PortalServer::run() {
    {
        std::lock_guard lock(m_impl->runMutex);
        m_impl->run = Impl::Run::Listening;
    }
    m_impl->server.listen_after_bind();
    std::lock_guard lock(m_impl->runMutex);
    m_impl->run = Impl::Run::Done;
}

// Waits for run() to be listening (a stop just after start-up would otherwise be lost and the
// bound socket left open), then stops it.
void PortalServer::stop() {
    for (;;) {
        if (m_impl->server.is_running()) {
            m_impl->server.stop();
            return;
        }
        {
            std::lock_guard lock(m_impl->runMutex);
            if (m_impl->run == Impl::Run::Done || m_impl->port < 0) {
                return;
            }
        }
        std::this_thread::sleep_for(milliseconds(1));
    }
}

int PortalServer::start() {
    const int port = bind();
    m_thread = std::thread([this] { run(); });
    return port;
}

int PortalServer::port() const {
    return m_impl->port;
}

Date PortalServer::today() const {
    return m_impl->today();
}

}  // namespace kestrova::portal
