#pragma once

#include "engine/audio_buffer.h"
#include "grid/control_grid_panel_wnd.h"
#include "grid/grid_offset_bar_wnd.h"

#include <string>

// Window ids of the viewport's children.
constexpr UINT kHorizontalOffsetBarId = 8737;
constexpr UINT kVerticalOffsetBarId = 8738;

// The window every control grid is shown in: a panel in its client area less
// a 12-px strip at the right and at the bottom, where two offset bars scroll
// it. It passes the panel's control events on to its own parent, loads layout
// files into the panel, posts updates to controls by parameter id and feeds
// audio and a play cursor to the analysis graphs in the panel.
//
// The owner reaches the panel directly and calls LayoutChildren after
// changing its settings. Interface thread only.
class CControlGridViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CControlGridViewportWnd)

public:
    static constexpr int kBarThickness = 12;

    CControlGridViewportWnd();
    ~CControlGridViewportWnd() override;

    CControlGridPanelWnd panel;
    CGridOffsetBarWnd horizontalBar;
    CGridOffsetBarWnd verticalBar;
    COLORREF background = 0x100E0C;

    // "BrimvaleControlGridViewportWnd", visible; the children with it.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    // Creates whichever child is missing, at an empty rectangle.
    void CreateChildren();
    // Puts the panel and the bars at their places, takes the panel's margins
    // away and hands the content extents and offsets to the bars.
    void LayoutChildren();
    void SetBackgroundColor(COLORREF colour);
    // Replaces the panel's controls by a layout file's items (the packing mode
    // stays the owner's). False, with nothing changed, when the file does not
    // load.
    bool LoadLayout(const std::wstring& path);

    // Each posts a record that the panel frees; false, allocating nothing, when
    // the panel's window is gone or dead, and false when the post fails.
    bool PostControlValue(const std::string& parameterId, double value);
    bool PostControlText(const std::string& parameterId, const std::string& utf8Text);
    bool PostControlAccent(const std::string& parameterId, COLORREF colour);

    // Feeds to the visible graph controls of the panel. A buffer is copied only
    // when it differs from the graph's copy (the compressor meter copies every
    // time); a cursor is held to 0 and up, a window to 0.02..0.25 s, and moves
    // below 1e-4 s are ignored (the stereo field takes every cursor). A NaN
    // cursor or window is ignored.
    void SetStereoFieldCursor(double cursor, double window, bool playing);
    void SetCorrelationMeterData(const AudioBuffer& buffer);
    void SetCorrelationMeterCursor(double cursor, double window, bool playing);
    void SetGoniometerData(const AudioBuffer& buffer);
    void SetGoniometerCursor(double cursor, double window, bool playing);
    void SetCompressorMeterData(const AudioBuffer& buffer);
    void SetCompressorMeterCursor(double cursor, bool playing);
    void SetPeakSymmetryData(const AudioBuffer& buffer);
    void SetPeakSymmetryCursor(double cursor, double window, bool playing);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; } // the paint fills everything
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnContextMenu(CWnd*, CPoint) {} // swallowed
    afx_msg LRESULT OnScrollOffset(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelControlChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelControlCommit(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Calls `feed` with every feedable control of class T.
    template <typename T, typename Feed> void ForEachGraph(Feed feed);
    LRESULT PassToParent(UINT message, WPARAM wParam, LPARAM lParam);
    template <typename Record> bool PostRecord(UINT message, Record record);
    void PlaceBar(CGridOffsetBarWnd& bar, const CRect& rect, int content, int view, int offset);
};
