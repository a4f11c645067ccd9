// GDI+ runs for the whole test program, as it does for the client.
#include "skin/SkinGdiplus.h"

#include <gtest/gtest.h>

namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_session.reset(new CGdiplusSession);
        ASSERT_TRUE(m_session->IsOk()) << "GdiplusStartup failed";
    }
    void TearDown() override { m_session.reset(); }

private:
    std::unique_ptr<CGdiplusSession> m_session;
};

::testing::Environment* const g_gdiplusEnvironment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace
