#include "app/QRVUtils.h"

#include "app/FileInfo.h"

#include "classlib/rtl/WinApi.h"
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// Every call works on a link object of its own: a shared one would hand out the
// previous link's data after a failed load.

namespace {

// Longer than any path or argument text a link holds.
constexpr int TextCapacity = 32768;

ComPtr<IShellLinkW> NewLink() {
    ComPtr<IShellLinkW> Link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&Link));
    return Link;
}

// Null when the file cannot be read as a link.
ComPtr<IShellLinkW> LoadLink(const String& LinkPath) {
    ComPtr<IShellLinkW> Link = NewLink();
    ComPtr<IPersistFile> File;
    if (!Link || FAILED(Link.As(&File)) || FAILED(File->Load(LinkPath.c_str(), STGM_READ)))
        return nullptr;
    return Link;
}

String TextUpToNul(String Buffer) {
    Buffer.resize(wcsnlen(Buffer.c_str(), Buffer.size()));
    return Buffer;
}

String LinkTarget(IShellLinkW& Link) {
    String Buffer(TextCapacity, L'\0');
    if (FAILED(Link.GetPath(Buffer.data(), TextCapacity, nullptr, SLGP_UNCPRIORITY)))
        return String();
    return TextUpToNul(std::move(Buffer));
}

String LinkArguments(IShellLinkW& Link) {
    String Buffer(TextCapacity, L'\0');
    if (FAILED(Link.GetArguments(Buffer.data(), TextCapacity)))
        return String();
    return TextUpToNul(std::move(Buffer));
}

} // namespace

String GetShortcutTarget(const String& LinkPath) {
    const TOleSession Ole;
    const ComPtr<IShellLinkW> Link = LoadLink(LinkPath);
    return Link ? LinkTarget(*Link.Get()) : String();
}

String GetShortcutCommand(const String& LinkPath) {
    const TOleSession Ole;
    const ComPtr<IShellLinkW> Link = LoadLink(LinkPath);
    if (!Link)
        return String();
    String Command = LinkTarget(*Link.Get());
    if (Command.empty() || Command[0] != L'"')
        Command = L'"' + Command + L'"';
    // The arguments stay as stored: quoting them as a whole would make several
    // arguments one when the command is split and written back.
    const String Arguments = LinkArguments(*Link.Get());
    if (!Arguments.empty())
        Command += L' ' + Arguments;
    return Command;
}

bool SetShortcutTarget(const String& LinkPath, const String& Target, const String& Arguments) {
    const TOleSession Ole;
    ComPtr<IShellLinkW> Link = LoadLink(LinkPath);
    if (!Link)
        Link = NewLink();
    ComPtr<IPersistFile> File;
    if (!Link || FAILED(Link.As(&File)) || FAILED(Link->SetPath(Target.c_str())) ||
        FAILED(Link->SetArguments(Arguments.c_str())))
        return false;
    return SUCCEEDED(File->Save(LinkPath.c_str(), FALSE));
}
