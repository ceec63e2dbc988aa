// SPDX-License-Identifier: MIT
#include "platform/daily_start/task_scheduler/task_service.h"
#include "platform/system/windows/windows_api.h"
#include "text/wide_string.h"

#include <cstdio>
#include <memory>
#include <objbase.h>
#include <oleauto.h>
#include <sddl.h>
#include <taskschd.h>

namespace {

// Releases a COM interface when it goes out of scope.
template <class T> class ComRef
{
public:
    ComRef() = default;
    ~ComRef()
    {
        if (m_p)
            m_p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return m_p; }
    T** operator&() { return &m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

// A BSTR for one call.
class Bstr
{
public:
    explicit Bstr(const std::wstring& text)
        : m_b(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    { }
    ~Bstr() { ::SysFreeString(m_b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
};

// An empty VARIANT, as the scheduler takes for "not given".
VARIANT Nothing()
{
    VARIANT v;
    ::VariantInit(&v);
    return v;
}

std::string HresultText(const char* what, HRESULT hr)
{
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    ::LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.'))
        reason.pop_back();
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return std::string(what) + ": " + (reason.empty() ? std::string() : ToUtf8(reason) + " ") + "(" + code + ")";
}

// The scheduler's root folder, connected as the calling user.
HRESULT RootFolder(ITaskFolder** folder, std::string& failure)
{
    ComRef<ITaskService> service;
    HRESULT hr = ::CoCreateInstance(
        CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, reinterpret_cast<void**>(&service));
    if (FAILED(hr)) {
        failure = HresultText("the Task Scheduler is not available", hr);
        return hr;
    }
    hr = service->Connect(Nothing(), Nothing(), Nothing(), Nothing());
    if (FAILED(hr)) {
        failure = HresultText("cannot connect to the Task Scheduler", hr);
        return hr;
    }
    const Bstr root(L"\\");
    hr = service->GetFolder(root, folder);
    if (FAILED(hr))
        failure = HresultText("cannot open the Task Scheduler's folder", hr);
    return hr;
}

} // namespace

ComApartment::ComApartment()
{
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // A thread already in another apartment can use COM as it is.
    m_bUninitialize = SUCCEEDED(hr);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE)
        m_failure = HresultText("cannot start COM", hr);
}

ComApartment::~ComApartment()
{
    if (m_bUninitialize)
        ::CoUninitialize();
}

std::string RegisterTask(const std::wstring& name, const std::wstring& xml)
{
    std::string failure;
    ComRef<ITaskFolder> folder;
    if (FAILED(RootFolder(&folder, failure)))
        return failure;
    ComRef<IRegisteredTask> task;
    const Bstr bName(name);
    const Bstr bXml(xml);
    const HRESULT hr = folder->RegisterTask(
        bName, bXml, TASK_CREATE_OR_UPDATE, Nothing(), Nothing(), TASK_LOGON_INTERACTIVE_TOKEN, Nothing(), &task);
    return FAILED(hr) ? HresultText("the Task Scheduler refused the daily start", hr) : std::string();
}

DailyStartRemoval DeleteTask(const std::wstring& name)
{
    DailyStartRemoval removal;
    ComRef<ITaskFolder> folder;
    if (FAILED(RootFolder(&folder, removal.failure)))
        return removal;
    const Bstr bName(name);
    const HRESULT hr = folder->DeleteTask(bName, 0);
    if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
        removal.failure = HresultText("the Task Scheduler did not remove the daily start", hr);
    removal.bWasScheduled = SUCCEEDED(hr);
    return removal;
}

std::wstring CurrentUserSid()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::wstring();
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[size ? size : 1]);
    std::wstring sid;
    wchar_t* text = nullptr;
    if (size && ::GetTokenInformation(token, TokenUser, buffer.get(), size, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid, &text)) {
        sid = text;
        ::LocalFree(text);
    }
    ::CloseHandle(token);
    return sid;
}
