// The expert page: its metric texts as pure functions, then the page under a
// recording parent (the main view's part) with injected input, and its pictures.

#include "pages/maester_viewport_wnd.h"

#include "base/unicode_text.h"
#include "controls/base/painting_helpers.h"
#include "engine/chain/audio_processor.h"
#include "pages/page_window.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/test_hooks.h"
#include "platform/win32/window_picture.h"
#include "registry/addon_registry.h"
#include "tests/controls/control_test_kit.h"
#include "tests/pages/page_test_kit.h"
#include "tests/grid/plugin_folder.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST(MaesterMetrics, FormatStageMetricByKey)
{
    struct Case
    {
        const char* key;
        double value;
        const char* want;
    };
    const Case cases[] = {
        {"stage2.applied_strength", 0.734, "73%"},
        {"stage4.normalize_strength", 0.005, "0%"},
        {"stage1.match_delta_db", -1.26, "-1.3"},
        {"stage4.final_peak", 0.98765, "0.99"},
        {"stage1.target_match_rms", 2.0, "2.00"},
        {"stage3.current_loudness_range", 7.25, "7.2"},
        {"stage3.reference_loudness_range", 7.26, "7.3"},
        {"stage2.adaptive_confidence", 0.85, "Fit: High"},
        {"stage2.adaptive_confidence", 0.8499, "Fit: Medium"},
        {"stage2.adaptive_confidence", 0.6, "Fit: Medium"},
        {"stage2.adaptive_confidence", 0.5999, "Fit: Low"},
        {"stage2.adaptive_confidence", kNaN, "Fit: Low"},
        {"stage4.final_peak", kNaN, "nan"},
        {"stage4.loudness_gain_db", std::numeric_limits<double>::infinity(), "inf"},
        {"stage2.applied_strength", 1e307, "inf%"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(FormatStageMetric(c.key, c.value), c.want) << c.key << " " << c.value;
    }

    // Fixed notation however large, and never the locale's separator.
    const std::string huge = FormatStageMetric("stage4.final_peak", 1e300);
    EXPECT_EQ(huge.size(), 301u + 3u);
    EXPECT_EQ(huge.substr(0, 2), "10");
    EXPECT_EQ(huge.substr(huge.size() - 3), ".00");
    EXPECT_EQ(FormatStageMetric("stage4.loudness_gain_db", -1e300).size(), 1u + 301u + 2u);
}

TEST(MaesterMetrics, TheFitReadout)
{
    struct Case
    {
        bool enabled;
        bool present;
        double confidence;
        const char* text;
        COLORREF accent;
    };
    const Case cases[] = {
        {false, true, 0.9, "Off", 0x101010},        {false, false, 0, "Off", 0x101010},
        {true, false, 0, "Fit: --", 0xD0964A},      {true, true, 0.85, "Fit: High", 0x80BE48},
        {true, true, 0.6, "Fit: Medium", 0xD0964A}, {true, true, 0.59, "Fit: Low", 0x4E4EC4},
        {true, true, kNaN, "Fit: Low", 0x4E4EC4}, // the text and the colour agree
        {true, true, -1e300, "Fit: Low", 0x4E4EC4},
    };
    for (const Case& c : cases)
    {
        const FitReadout fit = FitReadoutFor(c.enabled, c.present ? &c.confidence : nullptr);
        EXPECT_EQ(fit.text, c.text) << c.confidence;
        EXPECT_EQ(fit.accent, c.accent) << c.confidence;
    }
}

namespace
{

ChainStripEntry AddonCardFor(const ProcessorDescriptor& descriptor, bool selected = false)
{
    ChainStripEntry entry;
    entry.id = descriptor.id;
    entry.title = descriptor.displayName;
    entry.selected = selected;
    entry.glyph = AddonGlyphForId(descriptor.id);
    return entry;
}

const ProcessorDescriptor& FirstAddonAt(int position, int skip = 0)
{
    for (const ProcessorDescriptor& d : GetProcessorDescriptors())
    {
        if (d.chainPosition == position && skip-- == 0)
        {
            return d;
        }
    }
    throw std::runtime_error("no add-on at that position");
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// The chain of the default page with one add-on in the tone group.
std::vector<ChainStripGroup> ChainWithToneAddon(bool enabled = true)
{
    std::vector<ChainStripGroup> chain = DefaultMaesterChain();
    chain[2].entries = {AddonCardFor(FirstAddonAt(ChainPostMatchTone))};
    chain[2].entries[0].enabled = enabled;
    return chain;
}

class MaesterPageTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(20, 20, 1000, 680)));
        parent.On(WMU_ADDON_CHAIN_REQUEST,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(wParam, 0u);
                      const auto& r = *reinterpret_cast<const AddonChainRequest*>(lParam);
                      events.push_back("request " + r.addonId + " " + std::to_string(r.add) +
                                       std::to_string(r.toggleEnabled) +
                                       (page.browserShown ? " browser" : " panel"));
                      if (onRequest)
                      {
                          onRequest(r);
                      }
                      return 0;
                  });
        parent.On(WMU_STAGE_PANEL_CHANGED,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(wParam, 0u);
                      EXPECT_EQ(lParam, 0);
                      events.push_back("changed " + page.stagePanel.panel.name);
                      return 0;
                  });
        ASSERT_TRUE(page.Create(&parent));
        page.UpdateWindow();
        Settle();
    }

    CChainStripWnd& Strip() { return page.chainStrip.strip; }

    // The centre, on the screen, of the strip's first hit rectangle of `kind`
    // in group `group` (card `entry`).
    POINT StripPoint(int kind, int group, int entry)
    {
        for (const ChainStripHitRect& hit : Strip().hitRects)
        {
            if (hit.kind == kind && hit.groupIndex == group &&
                (kind == kChainStripAddButton || hit.entryIndex == entry))
            {
                return ScreenPoint(Strip(), (hit.rect.left + hit.rect.right) / 2,
                                   (hit.rect.top + hit.rect.bottom) / 2);
            }
        }
        ADD_FAILURE() << "no such hit rectangle " << kind << " " << group << "/" << entry;
        return {-1000, -1000};
    }

    void ClickStrip(int kind, int group, int entry = -1)
    {
        session->AdvanceTime(1000); // never a double click by accident
        session->Click(StripPoint(kind, group, entry));
    }

    void DoubleClickCard(int group, int entry)
    {
        session->AdvanceTime(1000);
        const POINT at = StripPoint(kChainStripCard, group, entry);
        session->Click(at);
        session->Click(at);
    }

    RECT PageRectOf(const CWnd& child) const
    {
        CRect rect;
        child.GetWindowRect(&rect);
        page.ScreenToClient(&rect);
        return rect;
    }

    std::string Selected() const
    {
        for (const ChainStripGroup& g : page.chainStrip.GetGroups())
        {
            for (const ChainStripEntry& e : g.entries)
            {
                if (e.selected)
                {
                    return g.key + "/" + e.id;
                }
            }
        }
        return "none";
    }

    RecordingWnd parent{"parent", log};
    CMaesterViewportWnd page;
    std::vector<std::string> events;
    std::function<void(const AddonChainRequest&)> onRequest;
};

// The main view's answer to every request, at once, from its own model.
class AnsweringView
{
public:
    explicit AnsweringView(CMaesterViewportWnd& page) : m_page(page), chain(DefaultMaesterChain())
    {
    }

    void Answer(const AddonChainRequest& request)
    {
        const ProcessorDescriptor* descriptor = FindProcessorDescriptor(request.addonId);
        if (request.addonId.empty() || descriptor == nullptr)
        {
            return;
        }
        std::string select = m_page.stagePanel.panel.name;
        for (ChainStripGroup& group : chain)
        {
            auto& entries = group.entries;
            if (request.toggleEnabled)
            {
                for (ChainStripEntry& e : entries)
                {
                    e.enabled = e.id == request.addonId ? !e.enabled : e.enabled;
                }
            }
            else if (!request.add)
            {
                entries.erase(std::remove_if(entries.begin(), entries.end(),
                                             [&](const ChainStripEntry& e)
                                             { return e.id == request.addonId; }),
                              entries.end());
            }
        }
        if (request.add)
        {
            static const char* const kKeys[] = {"PREMATCH", "POSTMATCHTONE", "POSTMATCHDYNAMICS",
                                                "STEREOIMAGE", "PRELIMITER"};
            for (ChainStripGroup& group : chain)
            {
                if (group.key == kKeys[descriptor->chainPosition])
                {
                    group.entries.push_back(AddonCardFor(*descriptor));
                }
            }
            select = request.addonId;
        }
        bool any = false;
        for (ChainStripGroup& group : chain)
        {
            for (ChainStripEntry& e : group.entries)
            {
                e.selected = e.id == select;
                any = any || e.selected;
            }
        }
        if (!any)
        {
            chain[1].entries[0].selected = true;
        }
        m_page.SetChain(chain);
    }

private:
    CMaesterViewportWnd& m_page;

public:
    std::vector<ChainStripGroup> chain;
};

} // namespace

TEST_F(MaesterPageTest, AfterCreation)
{
    EXPECT_EQ(page.GetDlgCtrlID(), 8726);
    EXPECT_EQ(page.GetStyle(), DWORD(0x56000000));
    EXPECT_EQ(page.chainStrip.GetDlgCtrlID(), 8832);
    EXPECT_EQ(page.stagePanel.GetDlgCtrlID(), 8833);
    EXPECT_EQ(page.addonBrowser.GetDlgCtrlID(), 8834);
    EXPECT_EQ(page.addonBrowser.accentColor, COLORREF(0xDCA050));
    EXPECT_EQ(page.addonBrowser.hoverIndex, -1);
    EXPECT_EQ(Strip().backgroundColor, COLORREF(0x100E0C));
    EXPECT_EQ(page.stagePanel.background, COLORREF(0x100E0C));

    const std::vector<ChainStripGroup>& groups = page.chainStrip.GetGroups();
    ASSERT_EQ(groups.size(), 7u);
    const char* const keys[] = {"PREMATCH",    "match",      "POSTMATCHTONE", "POSTMATCHDYNAMICS",
                                "STEREOIMAGE", "PRELIMITER", "stage4"};
    const COLORREF colours[] = {0x4874C8, 0xD0964A, 0xD2645E, 0xCC5484,
                                0x9A48BC, 0x3B3FA5, 0x80BE48};
    for (size_t g = 0; g < groups.size(); ++g)
    {
        EXPECT_EQ(groups[g].key, keys[g]);
        EXPECT_EQ(groups[g].color, colours[g]) << keys[g];
        EXPECT_EQ(groups[g].editable, g != 1 && g != 6) << keys[g];
    }
    ASSERT_EQ(groups[1].entries.size(), 2u);
    ASSERT_EQ(groups[6].entries.size(), 1u);
    EXPECT_EQ(groups[1].entries[0].glyph, 20);
    EXPECT_EQ(groups[1].entries[1].glyph, 47);
    EXPECT_EQ(groups[6].entries[0].glyph, 4);
    EXPECT_EQ(groups[6].entries[0].title, "Limiter");
    EXPECT_EQ(groups[6].entries[0].color, COLORREF(0x767676));
    EXPECT_EQ(Selected(), "match/stage2");

    EXPECT_EQ(page.stagePanel.panel.name, "stage2");
    EXPECT_FALSE(page.stagePanel.panel.entries.empty());
    EXPECT_EQ(page.stagePanel.panel.centreH, 1);
    EXPECT_TRUE(page.stagePanel.IsWindowVisible());
    EXPECT_FALSE(page.addonBrowser.IsWindowVisible());
    EXPECT_FALSE(page.browserShown);
    EXPECT_TRUE(page.browserFilter.empty());
    EXPECT_TRUE(page.meterBindings.empty());
    EXPECT_FALSE(page.adaptiveEnabled);

    EXPECT_EQ(Show(PageRectOf(page.chainStrip)), "(12, 12)-(948, 144)");
    EXPECT_EQ(Show(PageRectOf(page.stagePanel)), "(12, 156)-(948, 628)");

    // A resize lays the panes out again; the browser takes the same pane.
    page.MoveWindow(0, 0, 700, 500);
    EXPECT_EQ(Show(PageRectOf(page.chainStrip)), "(12, 12)-(688, 144)");
    EXPECT_EQ(Show(PageRectOf(page.stagePanel)), "(12, 156)-(688, 488)");
    page.ShowAddonBrowser("PRELIMITER");
    EXPECT_EQ(Show(PageRectOf(page.addonBrowser)), "(12, 156)-(688, 488)");
}

TEST_F(MaesterPageTest, ThePlusOpensTheBrowserAndACardClosesIt)
{
    page.SetChain(ChainWithToneAddon());
    const std::string used = FirstAddonAt(ChainPostMatchTone).id;

    ClickStrip(kChainStripAddButton, 2);
    EXPECT_TRUE(page.browserShown);
    EXPECT_EQ(page.browserFilter, "POSTMATCHTONE");
    EXPECT_TRUE(page.addonBrowser.IsWindowVisible());
    EXPECT_FALSE(page.stagePanel.IsWindowVisible());
    EXPECT_EQ(page.addonBrowser.accentColor, COLORREF(0xD2645E));

    const std::vector<AddonCard>& cards = page.addonBrowser.cards;
    const size_t atTone = size_t(std::count_if(
        GetProcessorDescriptors().begin(), GetProcessorDescriptors().end(),
        [](const ProcessorDescriptor& d) { return d.chainPosition == ChainPostMatchTone; }));
    ASSERT_EQ(cards.size(), atTone);
    ASSERT_GT(cards.size(), 1u);
    EXPECT_TRUE(std::is_sorted(cards.begin(), cards.end(),
                               [](const AddonCard& a, const AddonCard& b)
                               { return a.displayName < b.displayName; }));
    for (const AddonCard& card : cards)
    {
        const ProcessorDescriptor* d = FindProcessorDescriptor(card.id);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->chainPosition, ChainPostMatchTone);
        EXPECT_EQ(card.description, d->description);
        EXPECT_EQ(card.used, card.id == used) << card.id;
    }

    // Another group's plus refills the open browser; a card of the strip closes it.
    ClickStrip(kChainStripAddButton, 0);
    EXPECT_EQ(page.browserFilter, "PREMATCH");
    EXPECT_EQ(page.addonBrowser.accentColor, COLORREF(0x4874C8));
    EXPECT_TRUE(std::none_of(page.addonBrowser.cards.begin(), page.addonBrowser.cards.end(),
                             [](const AddonCard& c) { return c.used; }));
    ClickStrip(kChainStripCard, 6, 0);
    EXPECT_FALSE(page.browserShown);
    EXPECT_TRUE(page.browserFilter.empty());
    EXPECT_TRUE(page.stagePanel.IsWindowVisible());
    EXPECT_FALSE(page.addonBrowser.IsWindowVisible());
    EXPECT_EQ(Selected(), "stage4/stage4");
    EXPECT_EQ(page.stagePanel.panel.name, "stage4");
    EXPECT_TRUE(events.empty() || events.back() == "changed stage4");

    // Keys without a chain position list nothing.
    page.ShowAddonBrowser("match");
    EXPECT_TRUE(page.addonBrowser.cards.empty());
    EXPECT_EQ(page.addonBrowser.accentColor, COLORREF(0xD0964A));
}

TEST_F(MaesterPageTest, GesturesBecomeRequests)
{
    page.SetChain(ChainWithToneAddon());
    events.clear();

    // A pick closes the browser before the parent hears of it.
    ClickStrip(kChainStripAddButton, 3);
    ASSERT_TRUE(page.browserShown);
    ASSERT_FALSE(page.addonBrowser.rows.empty());
    const RECT first = page.addonBrowser.rows[0].rect;
    const std::string firstId = page.addonBrowser.cards[size_t(page.addonBrowser.rows[0].index)].id;
    session->AdvanceTime(1000);
    session->Click(ScreenPoint(page.addonBrowser, (first.left + first.right) / 2,
                               (first.top + first.bottom) / 2));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "request " + firstId + " 10 panel");
    EXPECT_FALSE(page.browserShown);
    EXPECT_EQ(Selected(), "match/stage2") << "the page waits for the view's chain";

    // A double click on a reference stage selects it and asks for nothing;
    // one on the limiter asks for a toggle.
    events.clear();
    DoubleClickCard(1, 1);
    EXPECT_EQ(Selected(), "match/stage3");
    EXPECT_EQ(events, std::vector<std::string>{"changed stage3"});
    events.clear();
    DoubleClickCard(6, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"changed stage4", "request stage4 01 panel"}));

    // A toggle leaves an open browser open; a remove closes it first.
    ClickStrip(kChainStripAddButton, 4);
    events.clear();
    DoubleClickCard(2, 0);
    ASSERT_FALSE(events.empty());
    const std::string tone = FirstAddonAt(ChainPostMatchTone).id;
    EXPECT_EQ(events.back(), "request " + tone + " 01 panel");
    ClickStrip(kChainStripAddButton, 4);
    events.clear();
    const ChainStripAction toggle{kChainStripToggleEnabled, "POSTMATCHTONE", tone, 0};
    page.SendMessage(WMU_CHAIN_STRIP_ACTION, 0, reinterpret_cast<LPARAM>(&toggle));
    EXPECT_EQ(events, std::vector<std::string>{"request " + tone + " 01 browser"});
    EXPECT_TRUE(page.browserShown);
    events.clear();
    ClickStrip(kChainStripRemoveButton, 2, 0);
    EXPECT_EQ(events, std::vector<std::string>{"request " + tone + " 00 panel"});
    EXPECT_FALSE(page.browserShown);
}

TEST_F(MaesterPageTest, BadActionsAndPicksAreIgnored)
{
    const auto action = [this](int kind, const std::string& key, const std::string& id)
    {
        const ChainStripAction record{kind, key, id, 0};
        page.SendMessage(WMU_CHAIN_STRIP_ACTION, 0, reinterpret_cast<LPARAM>(&record));
    };
    const auto pick = [this](int32_t index)
    {
        const AddonPick record{index};
        page.SendMessage(WMU_ADDON_PICKED, 0, reinterpret_cast<LPARAM>(&record));
    };
    events.clear();
    page.SendMessage(WMU_CHAIN_STRIP_ACTION, 0, 0);
    page.SendMessage(WMU_ADDON_PICKED, 0, 0);
    action(-1, "PREMATCH", "x");
    action(4, "PREMATCH", "x");
    action(kChainStripToggleEnabled, "match", "stage2");
    action(kChainStripToggleEnabled, "PREMATCH", "");
    pick(0); // the browser is closed
    action(kChainStripAdd, "PRELIMITER", "");
    ASSERT_TRUE(page.browserShown);
    for (const int32_t index :
         {-1, int32_t(page.addonBrowser.cards.size()), std::numeric_limits<int32_t>::min()})
    {
        pick(index);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(page.browserShown);
    EXPECT_EQ(Selected(), "match/stage2");

    // A select of a card that is not there clears the selection: stage2 shows.
    action(kChainStripSelect, "nowhere", "");
    EXPECT_EQ(Selected(), "none");
    EXPECT_EQ(page.stagePanel.panel.name, "stage2");

    // Without a parent window nothing is sent, and nothing breaks.
    CMaesterViewportWnd orphan;
    ASSERT_TRUE(orphan.CreateEx(0, AfxRegisterWndClass(0), L"orphan", WS_POPUP,
                                CRect(0, 0, 960, 640), nullptr, 0));
    orphan.EnsureChildren();
    orphan.SetupLayout();
    orphan.BuildDefaultChain();
    orphan.ShowSelectedStage();
    const ChainStripAction remove{kChainStripRemove, "PREMATCH", "x", 0};
    orphan.SendMessage(WMU_CHAIN_STRIP_ACTION, 0, reinterpret_cast<LPARAM>(&remove));
    orphan.ShowAddonBrowser("PREMATCH");
    const AddonPick first{0};
    orphan.SendMessage(WMU_ADDON_PICKED, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_FALSE(orphan.browserShown);
    EXPECT_EQ(orphan.stagePanel.panel.name, "stage2");
    orphan.DestroyWindow();
}

TEST_F(MaesterPageTest, StagePanelEventsGoOnUnchanged)
{
    std::vector<std::string> seen;
    for (const UINT message : {WMU_PANEL_CONTROL_CHANGED, WMU_PANEL_CONTROL_COMMIT})
    {
        parent.On(message,
                  [&seen, message](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      seen.push_back(std::to_string(message) + " " + std::to_string(wParam) + " " +
                                     std::to_string(lParam));
                      return 0;
                  });
    }
    EXPECT_EQ(page.SendMessage(WMU_PANEL_CONTROL_CHANGED, 5, 7), 0);
    EXPECT_EQ(page.SendMessage(WMU_PANEL_CONTROL_COMMIT, 6, 8), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{std::to_string(WMU_PANEL_CONTROL_CHANGED) + " 5 7",
                                              std::to_string(WMU_PANEL_CONTROL_COMMIT) + " 6 8"}));
}

TEST_F(MaesterPageTest, SetChainRebuildsOnlyOnAChange)
{
    events.clear();
    page.SetChain(DefaultMaesterChain());
    page.SetChain(page.chainStrip.GetGroups());
    EXPECT_TRUE(events.empty());

    std::vector<ChainStripGroup> chain = ChainWithToneAddon();
    page.SetChain(chain);
    EXPECT_EQ(events, std::vector<std::string>{"changed stage2"});
    page.SetChain(chain);
    EXPECT_EQ(events.size(), 1u);

    chain[2].entries[0].enabled = false;
    page.SetChain(chain);
    EXPECT_EQ(events.size(), 2u) << "a bypass rebuilds";

    chain[1].entries[0].selected = false;
    chain[2].entries[0].selected = true;
    page.SetChain(chain);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events.back(), "changed " + chain[2].entries[0].id);

    // No groups, or no selected card: the reference stage shows.
    page.SetChain({});
    EXPECT_TRUE(page.chainStrip.GetGroups().empty());
    EXPECT_EQ(page.stagePanel.panel.name, "stage2");
    chain[2].entries[0].selected = false;
    page.SetChain(chain);
    EXPECT_EQ(page.stagePanel.panel.name, "stage2");
}

TEST_F(MaesterPageTest, AViewThatAnswersAtOnceIsSafe)
{
    AnsweringView view(page);
    onRequest = [&view](const AddonChainRequest& r) { view.Answer(r); };

    ClickStrip(kChainStripAddButton, 2);
    ASSERT_FALSE(page.addonBrowser.cards.empty());
    const std::string picked = page.addonBrowser.cards[0].id;
    const AddonPick first{0};
    page.SendMessage(WMU_ADDON_PICKED, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(Selected(), "POSTMATCHTONE/" + picked);
    EXPECT_EQ(page.stagePanel.panel.name, picked);

    DoubleClickCard(2, 0); // bypass it: the title alone
    ASSERT_EQ(page.stagePanel.panel.entries.size(), 1u);
    const ControlItem& title = page.stagePanel.panel.entries[0].item;
    EXPECT_EQ(title.kind, ControlKind::TextTitle);
    EXPECT_EQ(title.parameterId, "addon_disabled_title");
    EXPECT_EQ(title.label, FindProcessorDescriptor(picked)->displayName + " (Disabled)");
    EXPECT_EQ(title.spanOverrideX, 12);
    EXPECT_EQ(title.group, 1);
    EXPECT_FALSE(title.drawBorder);
    EXPECT_FALSE(title.drawBackground);
    EXPECT_EQ(title.displaySuffix, "%");

    DoubleClickCard(2, 0); // back on: the add-on's page
    EXPECT_GT(page.stagePanel.panel.entries.size(), 1u);
    ClickStrip(kChainStripAddButton, 2);
    ClickStrip(kChainStripRemoveButton, 2, 0);
    EXPECT_TRUE(page.chainStrip.GetGroups()[2].entries.empty());
    EXPECT_EQ(Selected(), "match/stage2");
    EXPECT_FALSE(page.browserShown);
}

TEST_F(MaesterPageTest, StagePanelsAndTheirBindings)
{
    page.ShowStagePanel("stage4");
    ASSERT_EQ(page.meterBindings.size(), 1u);
    const StageMeterBinding& led = page.meterBindings.at("stage4.led");
    EXPECT_EQ(led.meterKey, "stage4.gain_reduction_db");
    EXPECT_EQ(led.mode, 1);
    EXPECT_EQ(led.minimum, 0.0);
    EXPECT_EQ(led.maximum, 1.0);
    EXPECT_EQ(led.threshold, 1.0);

    for (const char* other : {"stage3", "apprentice", FirstAddonAt(ChainPreLimiter).id.c_str()})
    {
        page.ShowStagePanel(other);
        EXPECT_TRUE(page.meterBindings.empty()) << other;
        EXPECT_EQ(page.stagePanel.panel.packParams.maxColumns, 12) << other;
    }
    EXPECT_EQ(events.back(), "changed " + FirstAddonAt(ChainPreLimiter).id);

    page.ShowStagePanel("stage4");
    events.clear();
    for (const char* unknown : {"", "no_such_addon", "stage1"})
    {
        page.ShowStagePanel(unknown);
        EXPECT_TRUE(page.stagePanel.panel.entries.empty()) << unknown;
        EXPECT_EQ(page.stagePanel.panel.name, unknown);
        EXPECT_TRUE(page.meterBindings.empty());
    }
    EXPECT_TRUE(events.empty());
}

TEST_F(MaesterPageTest, ReadoutsAndTheLightFromLayoutFiles)
{
    const PluginFolder plugins("readouts");
    plugins.Write("stage2", R"({"pluginId": "stage2", "items": [
        {"kind": "value_readout", "parameterId": "stage2.adaptive_confidence", "gridX": 0,
         "gridY": 0, "spanX": 3, "spanY": 1},
        {"kind": "value_readout", "parameterId": "stage2.spectral_distance_db", "gridX": 3,
         "gridY": 0, "spanX": 3, "spanY": 1},
        {"kind": "value_readout", "parameterId": "stage2.applied_strength", "gridX": 6,
         "gridY": 0, "spanX": 3, "spanY": 1},
        {"kind": "value_readout", "parameterId": "stage4.normalize_gain_db", "gridX": 0,
         "gridY": 1, "spanX": 3, "spanY": 1},
        {"kind": "value_readout", "parameterId": "stage1.match_delta_db", "gridX": 3,
         "gridY": 1, "spanX": 3, "spanY": 1}]})");
    plugins.Write("stage4", R"({"pluginId": "stage4", "items": [
        {"kind": "panel_light", "parameterId": "stage4.led", "gridX": 0, "gridY": 0,
         "spanX": 1, "spanY": 1}]})");

    const auto text = [this](const char* id)
    {
        for (const ControlGridEntry& entry : page.stagePanel.panel.entries)
        {
            if (entry.item.parameterId == id)
            {
                return WideToUtf8(entry.control->GetTextValue().GetString());
            }
        }
        return std::string("missing");
    };
    const auto accent = [this](const char* id)
    {
        for (const ControlGridEntry& entry : page.stagePanel.panel.entries)
        {
            if (entry.item.parameterId == id)
            {
                return entry.control->GetAccentColor();
            }
        }
        return COLORREF(0xFFFFFFFF);
    };

    page.previewResult.stageMetrics = {
        {"stage2.adaptive_confidence", 0.9}, {"stage2.spectral_distance_db", 2.345},
        {"stage2.applied_strength", 0.5},    {"stage1.match_delta_db", kNaN},
        {"stage1.match_delta_db", 1e300},    {"stage2.adaptive_confidence", 0.1}};
    page.ShowStagePanel("stage2");
    Settle();
    EXPECT_EQ(text("stage2.adaptive_confidence"), "Off");
    EXPECT_EQ(accent("stage2.adaptive_confidence"), COLORREF(0x101010));
    EXPECT_EQ(text("stage2.spectral_distance_db"), "--");
    EXPECT_EQ(text("stage2.applied_strength"), "50%");
    EXPECT_EQ(text("stage4.normalize_gain_db"), "--");
    EXPECT_EQ(text("stage1.match_delta_db").size(), 303u) << "the later value wins";

    page.adaptiveEnabled = true;
    page.RefreshStageMetrics();
    Settle();
    EXPECT_EQ(text("stage2.adaptive_confidence"), "Fit: High") << "the first confidence";
    EXPECT_EQ(accent("stage2.adaptive_confidence"), COLORREF(0x80BE48));
    EXPECT_EQ(text("stage2.spectral_distance_db"), "2.3");

    page.previewResult.stageMetrics = {{"stage2.adaptive_confidence", kNaN}};
    page.RefreshStageMetrics();
    Settle();
    EXPECT_EQ(text("stage2.adaptive_confidence"), "Fit: Low");
    EXPECT_EQ(accent("stage2.adaptive_confidence"), COLORREF(0x4E4EC4));
    EXPECT_EQ(text("stage2.applied_strength"), "--");

    page.previewResult.stageMetrics.clear();
    page.RefreshStageMetrics();
    Settle();
    EXPECT_EQ(text("stage2.adaptive_confidence"), "Fit: --");
    EXPECT_EQ(accent("stage2.adaptive_confidence"), COLORREF(0xD0964A));

    // The limiter's light follows its gain reduction at the play-head.
    page.ShowStagePanel("stage4");
    AudioBuffer preview;
    MeterSeries reduction;
    reduction.key = "stage4.gain_reduction_db";
    reduction.rate = 10.0;
    reduction.values = {0.0, 0.5, 2.0, 3.0};
    preview.meterSeries = {reduction};
    const auto light = [this] { return page.stagePanel.panel.entries.at(0).control->GetValue(); };
    EXPECT_TRUE(page.UpdateMeterBindings(preview, 0.25));
    EXPECT_EQ(light(), 1.0);
    EXPECT_TRUE(page.UpdateMeterBindings(preview, 0.0));
    EXPECT_EQ(light(), 0.0);
    EXPECT_TRUE(page.UpdateMeterBindings(AudioBuffer(), 0.0));
    page.ShowStagePanel("stage3");
    EXPECT_FALSE(page.UpdateMeterBindings(preview, 0.25));
}

TEST_F(MaesterPageTest, ChildrenThatFailToCreate)
{
    // The n-th window made by EnsureChildren fails: the strip viewport, its
    // strip and bar, the stage panel, its panel and bars, the browser.
    for (int n = 1; n <= 8; ++n)
    {
        SCOPED_TRACE(n);
        CMaesterViewportWnd broken;
        ASSERT_TRUE(CreatePageWindow(broken, &parent, CRect(0, 0, 960, 640), 9000,
                                     L"BrimvaleMaesterViewportWnd"));
        FailNextCreate(n);
        broken.EnsureChildren();
        FailNextCreate(0);
        broken.SetupLayout();
        broken.BuildDefaultChain();
        broken.ShowSelectedStage();
        broken.ShowAddonBrowser("POSTMATCHTONE");
        const AddonPick first{0};
        broken.SendMessage(WMU_ADDON_PICKED, 0, reinterpret_cast<LPARAM>(&first));
        broken.RefreshStageMetrics();
        broken.UpdateMeterBindings(AudioBuffer(), 0.0);
        broken.MoveWindow(0, 0, 500, 400);
        broken.DestroyWindow();
    }
    CMaesterViewportWnd never;
    never.EnsureChildren();
    never.SetupLayout();
    never.LayoutPanes();
    never.ShowSelectedStage();
    never.ShowAddonBrowser("PREMATCH");
    never.CloseAddonBrowser();
    never.RefreshStageMetrics();
    EXPECT_FALSE(::IsWindow(never.stagePanel.GetSafeHwnd()));
    EXPECT_TRUE(never.stagePanel.panel.name.empty());
}

TEST_F(MaesterPageTest, Pictures)
{
    page.UpdateWindow();
    ASSERT_TRUE(RenderWindowToPng(page.GetSafeHwnd(), ControlPicturePath("maester_default")));
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(page.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(5, 5), RGB(0x0C, 0x0E, 0x10)) << "the page's inset";
    EXPECT_EQ(picture.ColorAt(500, 150), RGB(0x0C, 0x0E, 0x10)) << "the gap below the strip";

    ClickStrip(kChainStripAddButton, 2);
    page.UpdateWindow();
    ASSERT_TRUE(RenderWindowToPng(page.GetSafeHwnd(), ControlPicturePath("maester_browser")));

    // What the page's own window shows is what Draw paints.
    Gdiplus::Bitmap drawn(960, 640);
    {
        Gdiplus::Graphics graphics(&drawn);
        PrepareControlGraphics(graphics);
        CMaesterViewportWnd::Draw(graphics, page.GetState());
    }
    EXPECT_EQ(PixelAt(drawn, 5, 5), RGB(0x0C, 0x0E, 0x10));
    ExpectDrawLeavesGraphicsUsable<CMaesterViewportWnd>(page.GetState());
}
