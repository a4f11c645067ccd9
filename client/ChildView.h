// CChildView: the main frame's empty client view.
#pragma once

#include "framework/Wnd.h"

class CChildView : public CWnd {
    DECLARE_DYNAMIC(CChildView)
public:
    CChildView() = default;

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnPaint() override;
};
