// Linux stand-ins for the Windows calls the plug-in makes: the same names, signatures and
// contracts, so that the automation, window and support code compiles unchanged on both lanes.
//
// Wide text: wchar_t is 32 bits here, but every wide string holds UTF-16 code units, one unit
// per wchar_t, exactly as on Windows. OLECHAR, BSTR and the W calls follow that rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// ---- Basic types -------------------------------------------------------------------------
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using BOOL = int;
using LPBOOL = BOOL*;
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using LCID = DWORD;
using DISPID = LONG;
using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
using WCHAR = wchar_t;
using OLECHAR = wchar_t;
using BSTR = OLECHAR*;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPCWCH = const WCHAR*;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPCCH = const char*;
using LPVOID = void*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define STDMETHODCALLTYPE
#define WINAPI

struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HMODULE = HINSTANCE__*;
using HANDLE = void*;

// ---- GUIDs -------------------------------------------------------------------------------
struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

bool operator==(const GUID& a, const GUID& b);
bool operator!=(const GUID& a, const GUID& b);
bool IsEqualGUID(REFGUID a, REFGUID b);

extern const IID IID_NULL;
extern const IID IID_IUnknown;
extern const IID IID_IDispatch;

// ---- HRESULT ------------------------------------------------------------------------------
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004u);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007u);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009u);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000Bu);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008u);
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = static_cast<HRESULT>(0x80080005u);
constexpr HRESULT RPC_E_DISCONNECTED = static_cast<HRESULT>(0x80010108u);
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);
// A busy server's answers, and the ends of a server that has gone away.
constexpr HRESULT RPC_E_CALL_REJECTED = static_cast<HRESULT>(0x80010001u);
constexpr HRESULT RPC_E_SERVERCALL_RETRYLATER = static_cast<HRESULT>(0x8001010Au);
constexpr HRESULT CO_E_OBJNOTCONNECTED = static_cast<HRESULT>(0x800401FDu);
constexpr HRESULT RPC_E_CALL_CANCELED = static_cast<HRESULT>(0x80010002u);
constexpr HRESULT RPC_E_CONNECTION_TERMINATED = static_cast<HRESULT>(0x80010006u);
constexpr HRESULT RPC_E_SERVERFAULT = static_cast<HRESULT>(0x80010105u);
constexpr HRESULT CO_E_SERVER_STOPPING = static_cast<HRESULT>(0x80080008u);
constexpr HRESULT MK_E_UNAVAILABLE = static_cast<HRESULT>(0x800401E3u);
constexpr HRESULT MK_S_MONIKERALREADYREGISTERED = static_cast<HRESULT>(0x000401E7u);
constexpr long RPC_S_SERVER_UNAVAILABLE = 1722L;
constexpr long RPC_S_CALL_FAILED = 1726L;
constexpr long RPC_S_UNKNOWN_IF = 1717L;
constexpr HRESULT HRESULT_FROM_WIN32(unsigned long error) {
    return error == 0 ? S_OK
                      : static_cast<HRESULT>((error & 0x0000FFFFu) | (7u << 16) | 0x80000000u);
}

// ---- COM interfaces -------------------------------------------------------------------------
struct ITypeInfo;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};

struct tagVARIANT;
using VARIANT = tagVARIANT;
using VARIANTARG = tagVARIANT;
using LPVARIANT = VARIANT*;

struct DISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};

struct IDispatch : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                    LCID locale, DISPID* ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID locale, WORD flags,
                                             DISPPARAMS* params, VARIANT* result,
                                             EXCEPINFO* exception, UINT* argumentError) = 0;

protected:
    ~IDispatch() = default;
};

// ---- VARIANT --------------------------------------------------------------------------------
enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,  // combined with the elements' type: VT_ARRAY | VT_I4
};

// A one-dimensional safe array, the form automation passes arrays in (SAFEARRAY of oleaut32).
struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};
struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
};

// Same member names as the SDK's VARIANT (accessed as v.vt, v.lVal, v.bstrVal, v.pdispVal).
struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        INT intVal;
        UINT uintVal;
        std::int64_t llVal;
        std::uint64_t ullVal;
        SAFEARRAY* parray;
    };
};

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// ---- OLE Automation (oleaut32) ------------------------------------------------------------
// BSTR: length-prefixed, zero-terminated UTF-16 units; SysFreeString(nullptr) is allowed.
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
void VariantInit(VARIANTARG* variant);
HRESULT VariantClear(VARIANTARG* variant);
HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source);
// Safe arrays of one dimension whose elements are VT_I4 or VT_VARIANT (zeroed, or VT_EMPTY, at
// first); destroying one clears its variants. A locked array (between SafeArrayAccessData and
// SafeArrayUnaccessData) cannot be destroyed (DISP_E_ARRAYISLOCKED).
constexpr HRESULT DISP_E_ARRAYISLOCKED = static_cast<HRESULT>(0x8002000Du);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayCopy(SAFEARRAY* source, SAFEARRAY** copy);
UINT SafeArrayGetDim(SAFEARRAY* array);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dimension, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dimension, LONG* bound);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);

// The running object table's entries for classes (oleaut32): a program registers its object
// under its CLSID; GetActiveObject hands out a new reference to it, or fails with
// MK_E_UNAVAILABLE when no object of the class is registered. A strong entry holds a
// reference until it is revoked; a weak one relies on its owner to keep the object alive.
constexpr DWORD ACTIVEOBJECT_STRONG = 0x0;
constexpr DWORD ACTIVEOBJECT_WEAK = 0x1;
HRESULT RegisterActiveObject(IUnknown* object, REFCLSID clsid, DWORD flags, DWORD* registration);
HRESULT RevokeActiveObject(DWORD registration, void* reserved);
HRESULT GetActiveObject(REFCLSID clsid, void* reserved, IUnknown** object);

// ---- COM (ole32) ----------------------------------------------------------------------------
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;

// The first entry of a thread makes its apartment's message-only window (class
// "OleMainThreadWndClass"), as COM does for a single-threaded apartment; the last exit destroys
// it. A message sent to it is answered only while the thread pumps.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid,
                         LPVOID* object);

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// ---- kernel32 and the C runtime -------------------------------------------------------------
constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
constexpr DWORD MAX_PATH = 260;

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
// The executable's path in UTF-16 units (bytes that are not UTF-8 become U+FFFD).
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
// A nonzero number for the calling thread, unique among the process's live threads.
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
// Milliseconds on a steady clock, wrapping round at 2^32.
DWORD GetTickCount();
constexpr DWORD INFINITE = 0xFFFFFFFFu;

// Event objects, unnamed and within the process. A set event stays set until a wait takes it
// (auto-reset) or ResetEvent clears it (manual reset): a SetEvent before the wait is not lost.
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// WAIT_OBJECT_0 once the event is set, WAIT_TIMEOUT after timeoutMs, WAIT_FAILED for a handle
// that is no event.
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);
// Closes an event; other handles fail.
BOOL CloseHandle(HANDLE handle);

// The pseudo-handle of the running process; TerminateProcess on it ends the process at once with
// the given code (no exit handlers, no stdio flush), as on Windows. Other handles fail.
HANDLE GetCurrentProcess();
BOOL TerminateProcess(HANDLE process, UINT exitCode);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR wide,
                        int wideLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideLength, LPSTR text,
                        int length, LPCCH defaultChar, LPBOOL usedDefaultChar);

// Compares code unit by code unit, each unit upper-cased first when ignoreCase is set (the
// way Windows compares file names); a length of -1 reads up to the terminating zero. Answers
// CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN, or 0 for a null text.
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;
int CompareStringOrdinal(LPCWCH first, int firstLength, LPCWCH second, int secondLength,
                         BOOL ignoreCase);

// The runtime's file open with a sharing mode; here it reads a Windows-form path (backslashes)
// as the same path with forward slashes. Sharing modes do not exist on Linux.
constexpr int _SH_DENYNO = 0x40;
FILE* _fsopen(const char* path, const char* mode, int shareFlag);

// ---- user32 ---------------------------------------------------------------------------------
using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<std::intptr_t>(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));
// The parent of the message-only windows.
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-3));
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;
constexpr UINT WM_SIZE = 0x0005;
// WM_SIZE's wParam: the window's new state.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
// What a z-order or position change sends the window's procedure, before and after the change.
struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};
// ShowWindow's commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;
constexpr int SW_FORCEMINIMIZE = 11;
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

HWND GetDesktopWindow();
HWND GetTopWindow(HWND window);
HWND GetWindow(HWND window, UINT command);
// The next window after childAfter (null: the first) among the top-level windows in Z order
// (parent null or the desktop) or the message-only ones (parent HWND_MESSAGE), whose class
// (ignoring case) and title match where given (null: any). The windows here have no children.
HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName);
int GetClassNameW(HWND window, LPWSTR className, int maxCount);
int GetWindowTextW(HWND window, LPWSTR text, int maxCount);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL UpdateWindow(HWND window);
// Minimises, maximises or restores the window (a restoring command brings a minimised window back
// to the state it had before, as SW_RESTORE does); its procedure hears WM_SIZE with the new state
// when it changes. The windows here are always visible, so the answer is TRUE for any window.
BOOL ShowWindow(HWND window, int command);
BOOL IsIconic(HWND window);
// The stand-ins have no keyboard focus: the window on top of the Z order stands for the one in
// the foreground (null when there is none).
HWND GetForegroundWindow();
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The default window procedure: WM_CLOSE destroys the window, everything else answers 0.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// Writes "<caption>: <text>" as one line to standard error and returns IDOK.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// The thread that created the window (0 when there is no such window); the process id too.
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// ---- Message queues (user32) --------------------------------------------------------------------
// Each thread has a queue from its first message call or window on. A message sent to a window
// of another thread waits in that thread's queue until the thread pumps (PeekMessageW), and the
// sender waits for the answer, itself answering messages sent to it meanwhile (unless
// SMTO_BLOCK); a message sent to a window of the calling thread calls its procedure at once.
// Posted messages wait until the thread takes them with PeekMessageW.
using DWORD_PTR = std::uintptr_t;
using PDWORD_PTR = DWORD_PTR*;
struct POINT {
    LONG x;
    LONG y;
};
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
constexpr UINT PM_NOREMOVE = 0x0;
constexpr UINT PM_REMOVE = 0x1;
constexpr DWORD QS_ALLINPUT = 0x04FF;
constexpr DWORD MWMO_INPUTAVAILABLE = 0x4;
constexpr DWORD WAIT_OBJECT_0 = 0x0;
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr UINT SMTO_NORMAL = 0x0;
constexpr UINT SMTO_BLOCK = 0x1;
constexpr UINT SMTO_ABORTIFHUNG = 0x2;

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Nonzero when the window's procedure answered within the timeout (its answer in *result);
// 0 when it did not, or there is no such window.
LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, PDWORD_PTR result);
// Answers the messages sent to the thread, then takes (PM_REMOVE) or looks at the oldest
// posted message for the window (null: any) within the range (0, 0: any).
BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove);
LRESULT DispatchMessageW(const MSG* message);
BOOL TranslateMessage(const MSG* message);
// Waits for the first of count events to be set (WAIT_OBJECT_0 + its index; an auto-reset event
// is cleared by the wait) or for input to the thread's queue (WAIT_OBJECT_0 + count; with
// MWMO_INPUTAVAILABLE any input, otherwise input that arrived since the thread last looked at its
// queue); WAIT_TIMEOUT after timeoutMs (INFINITE: never), WAIT_FAILED for a handle that is no
// event. Only events are waited for here.
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD timeoutMs,
                                  DWORD wakeMask, DWORD flags);

// ---- Registry (advapi32) ----------------------------------------------------------------------
// One registry per process, shared by its threads; every key lives under HKEY_CURRENT_USER,
// which starts empty. Key and value names compare ignoring case (as CompareStringOrdinal does),
// and subkeys enumerate in that order. Data are the caller's bytes: a REG_SZ holds wchar_t
// units, so its byte counts are in units of sizeof(wchar_t), one UTF-16 unit per wchar_t.
// A handle to a key that has been deleted fails with ERROR_KEY_DELETED.
struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using LSTATUS = LONG;
using REGSAM = DWORD;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
using PFILETIME = FILETIME*;

// Sign-extended, as Windows defines the predefined keys.
inline HKEY const HKEY_CURRENT_USER =
    reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001u)));

constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_BAD_PATHNAME = 161;
constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
constexpr LSTATUS ERROR_KEY_DELETED = 1018;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;   // query, enumerate, notify, read control
constexpr REGSAM KEY_WRITE = 0x20006;  // set value, create subkey, read control
constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0;
constexpr DWORD REG_CREATED_NEW_KEY = 0x1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 0x2;
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

// subKey is a path of names separated by backslashes, not beginning with one; null or empty
// opens key itself (for HKEY_CURRENT_USER: the same handle back). ERROR_FILE_NOT_FOUND when a
// name is missing.
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the path, creating every missing key on it; disposition (optional) says which.
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                        REGSAM access, const LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
// The index-th subkey's name: *nameLength is the buffer's size in units, the terminating zero
// included, on the way in, and the name's length without it on the way out. ERROR_MORE_DATA
// when the name does not fit, ERROR_NO_MORE_ITEMS past the last subkey. Needs
// KEY_ENUMERATE_SUB_KEYS. Keys have no class and no write time here (both come back empty).
LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved,
                      LPWSTR keyClass, LPDWORD classLength, PFILETIME lastWriteTime);
// A value's type and bytes (null or empty name: the key's default value). With data null,
// *dataSize receives the size alone; ERROR_MORE_DATA, with the size needed, when the buffer is
// too small. Needs KEY_QUERY_VALUE.
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize);
// Stores dataSize bytes as given (a REG_SZ should count its terminating zero). Needs
// KEY_SET_VALUE.
LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD dataSize);
// Deletes the subkey with everything under it; with subKey null or empty, everything under key
// (its values and subkeys) but not key itself.
LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey);
