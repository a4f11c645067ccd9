// COwner's name never points at an object on its way out: each object's destructor writes down what
// the name held at that moment, as a window's destruction would find it.
#include "framework/Owner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CFakeWnd {
public:
    CFakeWnd(int id, CFakeWnd*& name, std::vector<std::string>& log, BOOL creates = TRUE)
        : m_id(id), m_name(name), m_log(log), m_creates(creates) {}
    ~CFakeWnd() { m_log.push_back("delete " + std::to_string(m_id) + ", name " + Name()); }
    CFakeWnd(const CFakeWnd&) = delete;
    CFakeWnd& operator=(const CFakeWnd&) = delete;

    BOOL CreateWnd(HWND, DWORD, DWORD) {
        m_log.push_back("create " + std::to_string(m_id) + ", name " + Name());
        return m_creates;
    }

private:
    std::string Name() const { return m_name ? std::to_string(m_name->m_id) : "null"; }

    const int m_id;
    CFakeWnd*& m_name;
    std::vector<std::string>& m_log;
    const BOOL m_creates;
};

using Log = std::vector<std::string>;

TEST(Owner, NameMovesOnBeforeItsObjectIsDeleted) {
    CFakeWnd* name = nullptr;
    Log log;
    {
        COwner<CFakeWnd> owner(name);
        CFakeWnd* first = new CFakeWnd(1, name, log);
        owner.Reset(first);
        owner.Reset(first); // taking the object it has keeps it
        EXPECT_EQ(first, name);
        EXPECT_EQ(first, owner.Get());
        EXPECT_EQ(Log(), log);
        owner.Reset(new CFakeWnd(2, name, log));
        owner.Reset();
        EXPECT_EQ(nullptr, owner.Get());
        owner.Reset(new CFakeWnd(3, name, log));
        log.push_back("owner ends");
    }
    EXPECT_EQ(nullptr, name);
    EXPECT_EQ(Log({"delete 1, name 2", "delete 2, name null", "owner ends", "delete 3, name null"}), log);
}

TEST(Owner, CreateKeepsTheObjectOnlyWhenItsWindowIsMade) {
    CFakeWnd* name = nullptr;
    Log log;
    COwner<CFakeWnd> owner(name);
    CFakeWnd* made = new CFakeWnd(1, name, log);
    EXPECT_EQ(made, owner.Create(made, nullptr, 0, 0));
    EXPECT_EQ(made, name);
    EXPECT_EQ(made, owner.Get());
    // A failed creation keeps neither the new object nor the one it was to replace.
    EXPECT_EQ(nullptr, owner.Create(new CFakeWnd(2, name, log, FALSE), nullptr, 0, 0));
    EXPECT_EQ(nullptr, name);
    EXPECT_EQ(nullptr, owner.Get());
    EXPECT_EQ(nullptr, owner.Create(nullptr, nullptr, 0, 0));
    EXPECT_EQ(Log({"create 1, name 1", "delete 1, name 2", "create 2, name 2", "delete 2, name null"}), log);
}

} // namespace
