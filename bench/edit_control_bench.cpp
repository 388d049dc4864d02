// One typed character in a dialog edit that holds a long pasted text: every
// change lays the text out again (rows of a multi-line field, the caret's
// place on a single line), so the cost must grow with the text, not its square.
#include "platform/backend/headless_backend.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/message_loop.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

void TypeIntoPastedText(benchmark::State& state, DWORD style)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP | WS_VISIBLE,
                    CRect(100, 100, 500, 400), nullptr, 0);
    CEdit edit;
    edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | style, CRect(10, 10, 310, 90), &parent, 7);
    edit.SetFocus();
    std::wstring text;
    for (int64_t i = 0; i < state.range(0); ++i)
    {
        text.push_back(i % 7 == 6 ? L' ' : L'y'); // words of six letters
    }
    session->SetClipboardText(text);
    session->Key('V', 0, MK_CONTROL);
    for (auto _ : state)
    {
        session->Key(0, L'z');
        session->Key(VK_BACK);
        PumpPendingMessages();
    }
    state.SetComplexityN(state.range(0));
}

void MultiLine(benchmark::State& state)
{
    TypeIntoPastedText(state, ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL);
}

void SingleLine(benchmark::State& state)
{
    TypeIntoPastedText(state, ES_AUTOHSCROLL);
}

} // namespace

BENCHMARK(MultiLine)
    ->RangeMultiplier(4)
    ->Range(2000, 32000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(SingleLine)
    ->RangeMultiplier(4)
    ->Range(2000, 32000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

BENCHMARK_MAIN();
