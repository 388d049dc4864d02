#pragma once

#include "controls/base/base_control_wnd.h"

// What the graph hosts share: a control of the grid that owns one inner
// graph window covering its client, hides it while blank, and paints itself
// one solid colour behind it. Each host has its own run-time class record
// and message map (ON_WM_CREATE, ON_WM_SIZE, ON_WM_ERASEBKGND, ON_WM_PAINT).
class CGraphHostControl : public CBaseControlWnd
{
public:
    struct State : CBaseControlWnd::State
    {
        COLORREF solid = 0; // what the host shows where its graph does not cover it
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    void SetBackgroundColor(COLORREF color) override;
    void SetBlank(bool makeBlank) override;

protected:
    // Creates the inner graph in this host at (0, 0, 16, 16); false on failure.
    virtual bool CreateGraph(const RECT& rect, UINT id) = 0;
    virtual CWnd& Graph() = 0;
    virtual UINT GraphId() const = 0;
    // The colour the host paints with.
    virtual COLORREF SolidColor() const { return backgroundColor; }

    BOOL CreateHost(const RECT& rect, CWnd* parent, UINT id);
    State HostState() const;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();

private:
    void LayOutGraph();
};
