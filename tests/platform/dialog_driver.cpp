#include "dialog_driver.h"

#include "platform/win32/message_box.h"
#include "platform/win32/window_api.h"

void DialogDriver::Install(brvl::backend::HeadlessBackend& backend)
{
    using brvl::backend::ModalAnswer;
    using brvl::backend::ModalKind;
    backend.SetResponder(
        [this](const brvl::backend::ModalRequest& request)
        {
            if (request.kind == ModalKind::Message)
            {
                boxTexts.push_back(request.text);
                return ModalAnswer::With(IDOK);
            }
            if (request.kind == ModalKind::Dialog && drive)
            {
                drive(request.window);
                return IsWindowVisible(request.window) ? ModalAnswer::Unanswered()
                                                       : ModalAnswer::KeepRunning();
            }
            return ModalAnswer::Unanswered();
        });
}
