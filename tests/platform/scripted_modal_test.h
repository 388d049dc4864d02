#pragma once

#include "tests/platform/test_windows.h"

#include <functional>
#include <string>
#include <vector>

// A window test whose modal elements are answered from scripts, in order:
// message boxes from `answers` (OK when it runs out; texts and flags kept),
// file dialogs from `picks` (cancelled when it runs out or for an empty pick),
// and one `drives` entry run inside each modal dialog.
class ScriptedModalTest : public WindowTest
{
protected:
    struct Box
    {
        std::wstring text;
        UINT flags;
    };

    ScriptedModalTest()
    {
        session.Backend().SetResponder([this](const brvl::backend::ModalRequest& r)
                                       { return Answer(r); });
    }

    brvl::backend::ModalAnswer Answer(const brvl::backend::ModalRequest& r)
    {
        using brvl::backend::ModalAnswer;
        using brvl::backend::ModalKind;
        if (r.kind == ModalKind::Message)
        {
            boxes.push_back({r.text, r.flags});
            return ModalAnswer::With(TakeFront(answers, IDOK));
        }
        if (r.kind == ModalKind::FileDialog)
        {
            fileRequests.push_back(*r.file);
            const std::wstring pick = TakeFront(picks, std::wstring());
            return pick.empty() ? ModalAnswer::Unanswered() : ModalAnswer::WithPath(pick);
        }
        if (r.kind == ModalKind::Dialog && !drives.empty())
        {
            const auto drive = TakeFront(drives, std::function<void(HWND)>());
            drive(r.window);
            return ::IsWindowVisible(r.window) ? ModalAnswer::Unanswered()
                                               : ModalAnswer::KeepRunning();
        }
        return ModalAnswer::Unanswered();
    }

    template <typename T> static T TakeFront(std::vector<T>& queue, T fallback)
    {
        if (queue.empty())
        {
            return fallback;
        }
        T front = std::move(queue.front());
        queue.erase(queue.begin());
        return front;
    }

    static void Command(HWND dialog, int id, int code = BN_CLICKED)
    {
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }

    static std::wstring TextOf(HWND dialog, int id)
    {
        wchar_t buffer[2048] = {};
        ::GetWindowTextW(::GetDlgItem(dialog, id), buffer, 2048);
        return buffer;
    }

    std::vector<std::wstring> BoxTexts() const
    {
        std::vector<std::wstring> texts;
        for (const Box& b : boxes)
        {
            texts.push_back(b.text);
        }
        return texts;
    }

    std::vector<Box> boxes;
    std::vector<int> answers;
    std::vector<std::wstring> picks;
    std::vector<brvl::backend::FileDialogRequest> fileRequests;
    std::vector<std::function<void(HWND)>> drives;
};
