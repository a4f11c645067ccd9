// CCacheWnd: "CACHEWND" asks before cleaning the game's caches; "ok" empties the web cache and the
// game-data folder and leaves the game.
#pragma once

#include "skin/SkinWnd2.h"

class CCacheWnd : public CSkinWnd2 {
    DECLARE_DYNAMIC(CCacheWnd)
public:
    explicit CCacheWnd(const wchar_t* skinName);
    ~CCacheWnd() override;

    void OnSkinBtnClick(const SkinButtonInfo& info) override;
};
