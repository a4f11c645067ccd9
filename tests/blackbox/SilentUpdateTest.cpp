// The update check at start-up, from outside: the stand-in's remote configuration offers a newer
// version whose installer is the probe program; the client downloads it, starts it and ends by itself.
// An installer that cannot be started leaves the client running.
#include "ClientBlackBox.h"

#include <cctype>
#include <cstring>
#include <ostream>
#include <string>

using namespace blackbox;

namespace {

// An environment variable of this process, and so of the programs it starts, for one case.
class CScopedEnvironment {
public:
    CScopedEnvironment(const wchar_t* name, const CString& value) : m_name(name) {
        SetEnvironmentVariableW(name, value);
    }
    ~CScopedEnvironment() { SetEnvironmentVariableW(m_name, nullptr); }
    CScopedEnvironment(const CScopedEnvironment&) = delete;
    CScopedEnvironment& operator=(const CScopedEnvironment&) = delete;

private:
    const wchar_t* m_name;
};

// A text as one query value: everything but letters, digits and "-._~:/" escaped.
CString QueryValue(const CString& text) {
    CString value;
    for (char ch : text.ToUtf8()) {
        if (isalnum(static_cast<unsigned char>(ch)) || strchr("-._~:/", ch)) {
            value += static_cast<wchar_t>(ch);
        } else {
            CString escaped;
            escaped.Format(L"%%%02X", static_cast<unsigned char>(ch));
            value += escaped;
        }
    }
    return value;
}

class SilentUpdate : public ClientBlackBox {
protected:
    void SetUp() override {
        ClientBlackBox::SetUp();
        if (HasFatalFailure()) return;
        m_tag = service::Tag(L"update");
        m_probeRuns = m_folder.File(L"probe-runs.txt");
    }

    // The program folder's remote-configuration address asks the stand-in to offer a newer version
    // with this installer address (its pattern's "%s" replaced by the case's tag).
    bool OfferNewerVersion(const wchar_t* installerPattern) {
        CString path;
        path.Format(installerPattern, m_tag.GetString());
        const CString address =
            service::Url(L"/config.xml?version=9.9.9&amp;url=") + QueryValue(service::Url(path));
        return m_folder.SetConfigValue("configParam", address.ToUtf8());
    }

    CString m_tag;
    CString m_probeRuns; // where the probe installer records its runs
};

TEST_F(SilentUpdate, NewerVersionStartsTheDownloadedInstallerAndEndsTheClient) {
    ASSERT_TRUE(OfferNewerVersion(L"/download/%s/PellarNext.exe"));
    CScopedEnvironment probeLog(L"PELLAR_PROBE_LOG", m_probeRuns);
    ASSERT_TRUE(StartClient());
    DWORD exitCode = 1;
    ASSERT_TRUE(m_client.WaitForExit(kExitMs, &exitCode));
    EXPECT_EQ(0u, exitCode);

    const std::vector<Json::Value> requests = service::Requests(m_tag);
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("/config.xml", requests[0]["path"].asString());
    EXPECT_EQ("/download/" + m_tag.ToUtf8() + "/PellarNext.exe", requests[1]["path"].asString());
    EXPECT_EQ(0u, requests[1]["query"].asString().find("mytime="));

    // "<program path>|<arguments>": the downloaded copy, started with no arguments.
    std::string record;
    ASSERT_TRUE(WaitUntil(
        kReactMs, [&] { return (record = TempDir::ReadFile(m_probeRuns)).find('\n') != std::string::npos; }));
    EXPECT_EQ(record.find('\n'), record.size() - 1) << record;
    const size_t bar = record.find('|');
    ASSERT_NE(std::string::npos, bar) << record;
    EXPECT_EQ("\r\n", record.substr(bar + 1));
    const CString program = CString::FromUtf8(record.c_str(), static_cast<int>(bar));
    EXPECT_NE(-1, program.Find(L"PellarNext")) << record;
    EXPECT_EQ("MZ", TempDir::ReadFile(program).substr(0, 2)) << record;
}

struct BrokenInstaller {
    const char* name;
    const wchar_t* pattern;
};
void PrintTo(const BrokenInstaller& installer, std::ostream* out) {
    *out << installer.name;
}

class FailedInstaller : public SilentUpdate, public ::testing::WithParamInterface<BrokenInstaller> {};

TEST_P(FailedInstaller, LeavesTheClientRunning) {
    ASSERT_TRUE(OfferNewerVersion(GetParam().pattern));
    CScopedEnvironment probeLog(L"PELLAR_PROBE_LOG", m_probeRuns);
    HWND frame = StartClient();
    ASSERT_TRUE(frame);
    HWND login = WaitForLoginWindow();
    ASSERT_TRUE(login);
    ASSERT_TRUE(WaitUntil(kStartMs, [&] { return service::Requests(m_tag).size() >= 2; }));
    EXPECT_NE(std::string::npos, service::Requests(m_tag)[1]["query"].asString().find("mytime="));
    // The download ends at once; a started installer would end the client within moments.
    EXPECT_FALSE(m_client.WaitForExit(3000));
    EXPECT_EQ(1, Ping(frame));
    EXPECT_TRUE(IsWindowVisible(login));
    EXPECT_TRUE(TempDir::ReadFile(m_probeRuns).empty());
}

INSTANTIATE_TEST_SUITE_P(
    BlackBox, FailedInstaller,
    ::testing::Values(BrokenInstaller{"NotAProgram", L"/data/%s/PellarNext.exe?size=4096"},
                      BrokenInstaller{"NotFound", L"/download/%s/PellarNext.exe?_status=404"}),
    [](const ::testing::TestParamInfo<BrokenInstaller>& info) { return info.param.name; });

} // namespace
