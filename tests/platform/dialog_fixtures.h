#pragma once

#include "platform/mfc/afxwin.h"
#include "platform/win32/dialog_template.h"

#include <functional>

// A dialog template with one control of every kind the dialogs use, and a
// dialog that exchanges data with it.
brvl::win32::DialogTemplate SampleTemplate();

class SampleDialog : public CDialogEx
{
public:
    explicit SampleDialog(CWnd* parent = nullptr) : CDialogEx(SampleTemplate(), parent) {}

    CString name = L"first";
    CString comment;
    int count = 3;
    double gain = -1.5;
    int check = 1;
    int radio = 1;
    CComboBox combo;
    CSliderCtrl slider;
    std::function<void(SampleDialog&)> onInit;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
