// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/wx/dialog_window.h"
#include "service_doubles.h"

#include <gtest/gtest.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>
#include <wx/window.h>

#include <functional>
#include <string>

// Expects a message box with exactly this text and caption, one OK button and
// no icon, owned by `owner` (when given); answers it with OK.
class ExpectMessage : public wxModalExpectation
{
public:
    ExpectMessage(
        std::wstring text, std::wstring caption, const wxWindow* owner = nullptr, std::function<void()> onShown = {})
        : m_text(std::move(text))
        , m_caption(std::move(caption))
        , m_owner(owner)
        , m_onShown(std::move(onShown))
    { }

protected:
    int Invoke(wxDialog* dlg) const override
    {
        auto* box = dynamic_cast<wxMessageDialog*>(dlg);
        if (!box)
            return wxID_NONE;
        EXPECT_EQ(box->GetMessage().ToStdWstring(), m_text);
        EXPECT_EQ(box->GetTitle().ToStdWstring(), m_caption);
        const long style = box->GetMessageDialogStyle();
        EXPECT_TRUE(style & wxOK);
        EXPECT_FALSE(style & (wxCANCEL | wxYES_NO));
        EXPECT_TRUE(style & wxICON_NONE);
        if (m_owner) {
            EXPECT_EQ(box->GetParent(), m_owner) << "owner of \"" << box->GetTitle() << "\"";
        }
        if (m_onShown)
            m_onShown();
        return wxID_OK;
    }
    wxString GetDefaultDescription() const override { return "message box \"" + m_caption + "\""; }

private:
    std::wstring m_text;
    std::wstring m_caption;
    const wxWindow* m_owner;
    std::function<void()> m_onShown;
};

// Expects a modal window of class T: initialises it as showing it would, lets
// `use` look at it and work its controls, and returns what `use` returns as
// the window's result.
template <class T> class ExpectWindow : public wxModalExpectation
{
public:
    explicit ExpectWindow(std::function<int(T&)> use)
        : m_use(std::move(use))
    { }

protected:
    int Invoke(wxDialog* dlg) const override
    {
        auto* window = dynamic_cast<DialogWindow*>(dlg);
        T* shown = window ? dynamic_cast<T*>(&window->Dialog()) : nullptr;
        if (!shown)
            return wxID_NONE;
        window->InitDialog();
        return m_use(*shown);
    }
    wxString GetDefaultDescription() const override { return "a modal window"; }

private:
    std::function<int(T&)> m_use;
};

// The toolkit's window of `dlg`.
wxDialog& Window(const CDialog& dlg);
// Sends the click notification of control `id`, as a click by the user would.
void Click(const CDialog* dlg, int id);
// Size and position of `control` in dialog units of its window.
wxRect InDialogUnits(const wxWindow* control);
// Checks that `dlg` holds the controls of its template, in template order, of
// the template's kinds, texts, places and sizes, and the window the
// template's size.
void ExpectBuiltAsTemplate(const CDialog& dlg);

// Runs `code`, failing the test if it shows any modal window.
#define EXPECT_NO_MODAL(code)                                                                                          \
    do {                                                                                                               \
        wxTestingModalHook noModalHook(__FILE__, __LINE__, __func__);                                                  \
        code;                                                                                                          \
    } while (0)
