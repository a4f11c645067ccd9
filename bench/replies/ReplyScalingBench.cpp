// reply-bench [ROUNDS]: how the client's reading of hostile input grows with its size.
//
// These cases, each at doubling sizes:
// - an account reply whose one server name is a long run of digits and whose current server id is a
//   run a quarter as long that matches nowhere but the very end of each stretch: the lookup of the
//   current server meets a near-match at every position (a search that compares the whole id there is
//   quadratic). Ours is ParseLoginReply; the floor is the plain JSON parse of the same document.
// - account replies of many servers with short names ("s17"), once with a current id half the reply's
//   size and once with a fixed id of 2,049 digits: the lookup runs once per server, so anything it
//   does in proportion to the id (rather than to the name) multiplies by the number of servers.
// - a game address with a long run of digits after the server key: ParseServerId against the floor of
//   lower-casing the same address (which ParseServerId must do anyway).
// Ours and the floor alternate, ROUNDS times per size. Per size it prints the medians, the ratio
// ours/floor with its range over the rounds, and how ours grew from the size before (2 = linear).
#include "bench/BenchStats.h"
#include "client/AccountReply.h"
#include "foundation/Config.h"
#include "foundation/UserInfo.h"

#include <json/json.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

double TimeMs(const std::function<void()>& work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

struct Figures {
    double ours, floor, ratioMin, ratioMax;
};

Figures Measure(int rounds, const std::function<void()>& ours, const std::function<void()>& floor) {
    std::vector<double> o, f, ratios;
    for (int round = 0; round < rounds; ++round) {
        o.push_back(TimeMs(ours));
        f.push_back(TimeMs(floor));
        ratios.push_back(o.back() / std::max(f.back(), 1e-6));
    }
    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    return {Median(o), Median(f), *low, *high};
}

void Print(const char* name, size_t size, const Figures& now, double before) {
    printf("%-14s %9zu chars  ours %9.2f ms  floor %9.2f ms  ratio %5.2f (%.2f..%.2f)", name, size, now.ours,
           now.floor, now.ours / std::max(now.floor, 1e-6), now.ratioMin, now.ratioMax);
    if (before > 0) printf("  growth x%.2f", now.ours / before);
    printf("\n");
    fflush(stdout);
}

// The reading of one account reply against the plain parse of the same document.
Figures MeasureReply(int rounds, const std::wstring& reply, const CString& serverId, size_t servers) {
    const std::string document = CString(reply).ToAnsi();
    return Measure(
        rounds,
        [&] {
            AccountReply account;
            if (!ParseLoginReply(reply.c_str(), serverId, account) || account.curServerName ||
                account.servers.size() != servers)
                fprintf(stderr, "unexpected reading of the reply\n");
        },
        [&] {
            Json::Value root;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
            Json::Reader reader;
#pragma GCC diagnostic pop
            if (!reader.parse(document, root, false)) fprintf(stderr, "unparsable reply\n");
        });
}

// An account reply of about size characters: servers with short names, none of them the current one.
std::wstring ManyServers(size_t size, size_t& servers) {
    const std::wstring server = L"{\"server_name\":\"s17\",\"server_url\":\"http://h/\"},";
    std::wstring reply = L"{\"errno\":0,\"data\":{\"user_name\":\"u\",\"allserver\":[";
    for (servers = 0; reply.size() + server.size() + 2 <= size; ++servers)
        reply += server;
    reply.back() = L']';
    return reply + L"}}";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 5;
    if (rounds < 1) {
        fprintf(stderr, "usage: reply-bench [ROUNDS]  (ROUNDS a positive number)\n");
        return 2;
    }

    double before = 0;
    for (size_t size = 1 << 18; size <= (1u << 21); size *= 2) {
        // The id: many 1s and a final 2; the name: stretches of as many 1s, each ended by a 3.
        const std::wstring id = std::wstring(size / 4 - 1, L'1') + L'2';
        std::wstring name;
        while (name.size() + id.size() <= size)
            name += std::wstring(id.size() - 1, L'1') + L'3';
        const std::wstring reply =
            L"{\"errno\":0,\"data\":{\"user_name\":\"u\",\"allserver\":[{\"server_name\":\"" + name +
            L"\",\"server_url\":\"http://h/\"}]}}";
        const Figures now = MeasureReply(rounds, reply, CString(id), 1);
        Print("account reply", reply.size(), now, before);
        before = now.ours;
    }

    // Many short names: an id half the reply (sizes from 2^18), or a fixed 2,049-digit one (from 2^20).
    for (const size_t fixedId : {size_t(0), size_t(2049)}) {
        before = 0;
        for (size_t size = fixedId ? 1 << 20 : 1 << 18; size <= (fixedId ? 1u << 23 : 1u << 22); size *= 2) {
            size_t servers = 0;
            const std::wstring reply = ManyServers(size, servers);
            const CString id(std::wstring(fixedId ? fixedId : size / 2, L'7'));
            const Figures now = MeasureReply(rounds, reply, id, servers);
            Print(fixedId ? "servers, 2049" : "servers, id/2", reply.size(), now, before);
            before = now.ours;
        }
    }

    before = 0;
    g_strServerParamName = L"sid=";
    for (size_t size = 1 << 20; size <= (1u << 23); size *= 2) {
        const CString address = L"http://h/game.php?SID=" + CString(std::wstring(size, L'7').c_str());
        const Figures now = Measure(
            rounds,
            [&] {
                ParseServerId(address);
                if (static_cast<size_t>(g_strServerId.GetLength()) != size) fprintf(stderr, "wrong id\n");
            },
            [&] {
                CString lower = address;
                lower.MakeLower();
            });
        Print("game address", static_cast<size_t>(address.GetLength()), now, before);
        before = now.ours;
    }
    return 0;
}
