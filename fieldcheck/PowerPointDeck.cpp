#include "fieldcheck/PowerPointDeck.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "automation/InvokeByName.h"
#include "platform/UniqueBstr.h"
#include "platform/UniqueVariant.h"
#include "support/TextConversion.h"

namespace {

constexpr LONG kMsoFalse = 0;
constexpr LONG kLayoutTitleOnly = 11;
constexpr LONG kSaveAsOpenXmlPresentation = 24;

std::string Hex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
    return text;
}

// Owns the argument variants of one call (texts are freed with them).
class Arguments {
public:
    Arguments& Integer(LONG value) {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_I4;
        argument.lVal = value;
        values.push_back(argument);
        return *this;
    }
    Arguments& Text(const std::wstring& text) {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BSTR;
        argument.bstrVal = UniqueBstr(text).Release();
        values.push_back(argument);
        return *this;
    }
    Arguments() = default;
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
    ~Arguments() {
        for (VARIANT& value : values) {
            VariantClear(&value);
        }
    }
    UINT Count() const { return static_cast<UINT>(values.size()); }
    const VARIANT* Data() const { return values.empty() ? nullptr : values.data(); }

private:
    std::vector<VARIANT> values;
};

// A chain of calls that stops at the first failure and says which member failed.
class Calls {
public:
    ComPtr<IDispatch> Object(IDispatch* object, const wchar_t* member,
                             WORD kind = DISPATCH_PROPERTYGET,
                             const Arguments& arguments = Arguments()) {
        UniqueVariant result;
        if (!Invoke(kind, result.Get(), object, member, arguments)) {
            return {};
        }
        if (result->vt != VT_DISPATCH || result->pdispVal == nullptr) {
            Fail(member, "gave no object");
            return {};
        }
        return ComPtr<IDispatch>::Share(result->pdispVal);
    }
    std::wstring Text(IDispatch* object, const wchar_t* member) {
        UniqueVariant result;
        if (!Invoke(DISPATCH_PROPERTYGET, result.Get(), object, member, Arguments()) ||
            result->vt != VT_BSTR) {
            return L"";
        }
        return std::wstring(result->bstrVal, SysStringLen(result->bstrVal));
    }
    int Integer(IDispatch* object, const wchar_t* member) {
        UniqueVariant result;
        if (!Invoke(DISPATCH_PROPERTYGET, result.Get(), object, member, Arguments()) ||
            result->vt != VT_I4) {
            return -1;
        }
        return static_cast<int>(result->lVal);
    }
    bool Do(IDispatch* object, const wchar_t* member, WORD kind, const Arguments& arguments) {
        return Invoke(kind, nullptr, object, member, arguments);
    }
    bool Failed() const { return !problem.empty(); }
    const std::string& Problem() const { return problem; }

private:
    bool Invoke(WORD kind, VARIANT* result, IDispatch* object, const wchar_t* member,
                const Arguments& arguments) {
        if (Failed()) {
            return false;
        }
        const HRESULT outcome =
            InvokeByName(kind, result, object, member, arguments.Count(), arguments.Data());
        if (FAILED(outcome)) {
            Fail(member, "failed with " + Hex(outcome));
            return false;
        }
        return true;
    }
    void Fail(const wchar_t* member, const std::string& how) {
        problem = "PowerPoint's " + WideToUtf8(member) + " " + how;
    }

    std::string problem;
};

std::wstring WithoutExtension(const std::wstring& name) {
    const std::size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

// What the check needs to know of a deck, as PowerPoint reports it.
DeckUnderTest ReadDeck(Calls& calls, IDispatch* deck, bool madeHere) {
    return DeckUnderTest{calls.Text(deck, L"FullName"), WithoutExtension(calls.Text(deck, L"Name")),
                         calls.Integer(calls.Object(deck, L"Slides").Get(), L"Count"), madeHere};
}

}  // namespace

PowerPointDeck::PowerPointDeck() {
    CLSID clsid;
    HRESULT result = CLSIDFromProgID(L"PowerPoint.Application", &clsid);
    if (FAILED(result)) {
        connectProblem =
            "PowerPoint is not installed (no \"PowerPoint.Application\", " + Hex(result) + ")";
        return;
    }
    result = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(application.Receive()));
    if (FAILED(result)) {
        connectProblem = "PowerPoint did not start (" + Hex(result) + ")";
    }
}

std::optional<DeckUnderTest> PowerPointDeck::Make(const std::wstring& path, int slides,
                                                  std::string& problem) {
    if (!application) {
        problem = connectProblem;
        return std::nullopt;
    }
    Calls calls;
    ComPtr<IDispatch> presentations = calls.Object(application.Get(), L"Presentations");
    // Without a window: the deck is only made and saved here, the plug-in opens it.
    ComPtr<IDispatch> deck =
        calls.Object(presentations.Get(), L"Add", DISPATCH_METHOD, Arguments().Integer(kMsoFalse));
    ComPtr<IDispatch> slideList = calls.Object(deck.Get(), L"Slides");
    for (int index = 1; index <= slides && !calls.Failed(); ++index) {
        // Invoke reads arguments last first: Add(Index, Layout) takes Layout, then Index.
        ComPtr<IDispatch> slide =
            calls.Object(slideList.Get(), L"Add", DISPATCH_METHOD,
                         Arguments().Integer(kLayoutTitleOnly).Integer(index));
        ComPtr<IDispatch> object = calls.Object(slide.Get(), L"Shapes");
        for (const wchar_t* member : {L"Title", L"TextFrame", L"TextRange"}) {
            object = calls.Object(object.Get(), member);
        }
        calls.Do(object.Get(), L"Text", DISPATCH_PROPERTYPUT,
                 Arguments().Text(L"Glyphpad field check, slide " + std::to_wstring(index)));
    }
    calls.Do(deck.Get(), L"SaveAs", DISPATCH_METHOD,
             Arguments().Integer(kSaveAsOpenXmlPresentation).Text(path));
    const DeckUnderTest made = ReadDeck(calls, deck.Get(), true);
    if (deck) {
        Calls closing;
        closing.Do(deck.Get(), L"Close", DISPATCH_METHOD, Arguments());
        if (!calls.Failed() && closing.Failed()) {
            problem = closing.Problem();
            return std::nullopt;
        }
    }
    if (calls.Failed()) {
        problem = calls.Problem() + " while making the deck";
        return std::nullopt;
    }
    return made;
}

std::optional<DeckUnderTest> PowerPointDeck::Describe(const std::wstring& path,
                                                      std::string& problem) {
    if (!application) {
        problem = connectProblem;
        return std::nullopt;
    }
    Calls calls;
    ComPtr<IDispatch> presentations = calls.Object(application.Get(), L"Presentations");
    const int openBefore = calls.Integer(presentations.Get(), L"Count");
    ComPtr<IDispatch> deck =
        calls.Object(presentations.Get(), L"Open", DISPATCH_METHOD, Arguments().Text(path));
    const DeckUnderTest described = ReadDeck(calls, deck.Get(), false);
    // Open gives the presentation that was already open rather than a second copy.
    if (deck && calls.Integer(presentations.Get(), L"Count") > openBefore) {
        calls.Do(deck.Get(), L"Close", DISPATCH_METHOD, Arguments());
    }
    if (calls.Failed()) {
        problem = calls.Problem() + " while reading " + WideToUtf8(path);
        return std::nullopt;
    }
    return described;
}

bool PowerPointDeck::CloseIfOpen(const std::wstring& fullName) {
    Calls calls;
    ComPtr<IDispatch> presentations = calls.Object(application.Get(), L"Presentations");
    const int count = calls.Integer(presentations.Get(), L"Count");
    for (LONG index = 1; index <= count && !calls.Failed(); ++index) {
        ComPtr<IDispatch> presentation =
            calls.Object(presentations.Get(), L"Item", DISPATCH_METHOD, Arguments().Integer(index));
        if (calls.Text(presentation.Get(), L"FullName") == fullName) {
            return calls.Do(presentation.Get(), L"Close", DISPATCH_METHOD, Arguments());
        }
    }
    return false;
}
