// curl brings winsock2.h, which must come before windows.h.
#include <curl/curl.h>

#include "main/BackupFtp.h"
#include "classlib/rtl/PathLayer.h"

#include <memory>
#include <mutex>

namespace {

struct TCurlCleanup {
    void operator()(CURL* Curl) const { curl_easy_cleanup(Curl); }
};
using TCurl = std::unique_ptr<CURL, TCurlCleanup>;

TCurl NewCurl() {
    static std::once_flag Once;
    std::call_once(Once, [] { curl_global_init(CURL_GLOBAL_WIN32); });
    return TCurl(curl_easy_init());
}

std::string Escaped(CURL* Curl, const String& Text) {
    const std::string Utf8 = ToUtf8(Text);
    char* Escape = curl_easy_escape(Curl, Utf8.c_str(), static_cast<int>(Utf8.size()));
    std::string Result = Escape ? Escape : "";
    curl_free(Escape);
    return Result;
}

// A host name or address only: nothing that would change the meaning of the address.
bool IsPlainHost(const String& Host) {
    if (Host.empty())
        return false;
    for (const wchar_t Ch : Host)
        if (Ch <= L' ' || String(L"/\\?#@:[]%").find(Ch) != String::npos)
            return false;
    return true;
}

// ftp://host:port/<folders>/<name>; an absolute folder starts at the server's root.
std::string FtpUrl(CURL* Curl, const TFtpTarget& Target, int Port, const String& Name) {
    std::string Url = "ftp://" + ToUtf8(Target.Host) + ":" + std::to_string(Port) + "/";
    String Dir = Trim(Target.Dir);
    for (wchar_t& Ch : Dir)
        if (Ch == L'\\')
            Ch = L'/';
    if (!Dir.empty() && Dir[0] == L'/')
        Url += "%2F";
    for (size_t Start = 0; Start < Dir.size();) {
        size_t End = Dir.find(L'/', Start);
        if (End == String::npos)
            End = Dir.size();
        if (End > Start)
            Url += Escaped(Curl, Dir.substr(Start, End - Start)) + "/";
        Start = End + 1;
    }
    return Url + Escaped(Curl, Name);
}

struct TTransfer {
    IProgress& Progress;
    const TFtpLabels& Labels;
    HANDLE File = nullptr;
    bool Started = false;
    std::int64_t Bytes = 0;
    // The code of the server's last refusal (4xx, 5xx); the goodbye that follows it is passed by.
    long LastRefusal = 0;
    // That refusal's line, the server's own reason.
    std::string LastRefusalLine{};
};

// The server's replies pass here line by line.
int OnDebug(CURL*, curl_infotype Type, char* Buffer, size_t Length, void* Data) {
    if (Type == CURLINFO_HEADER_IN && Length >= 3 && Buffer[0] >= '4' && Buffer[0] <= '5' &&
        Buffer[1] >= '0' && Buffer[1] <= '9' && Buffer[2] >= '0' && Buffer[2] <= '9') {
        auto& T = *static_cast<TTransfer*>(Data);
        T.LastRefusal = (Buffer[0] - '0') * 100 + (Buffer[1] - '0') * 10 + (Buffer[2] - '0');
        T.LastRefusalLine.assign(Buffer, Length);
        while (!T.LastRefusalLine.empty() &&
               (T.LastRefusalLine.back() == '\r' || T.LastRefusalLine.back() == '\n'))
            T.LastRefusalLine.pop_back();
    }
    return 0;
}

int OnProgress(void* Data, curl_off_t DownTotal, curl_off_t DownNow, curl_off_t, curl_off_t UpNow) {
    auto& T = *static_cast<TTransfer*>(Data);
    const std::int64_t Now = DownNow > 0 ? DownNow : UpNow;
    if (!T.Started && (Now > 0 || DownTotal > 0)) {
        T.Started = true;
        T.Progress.SetLabel(T.Labels.Transferring);
    }
    if (DownTotal > 0)
        T.Progress.SetRange(DownTotal);
    T.Progress.SetPosition(Now);
    T.Progress.Pump();
    return T.Progress.Cancelled() ? 1 : 0;
}

size_t ReadLocal(char* Buffer, size_t Size, size_t Count, void* Data) {
    auto& T = *static_cast<TTransfer*>(Data);
    DWORD Got = 0;
    if (!ReadFile(T.File, Buffer, static_cast<DWORD>(Size * Count), &Got, nullptr))
        return CURL_READFUNC_ABORT;
    return Got;
}

size_t WriteLocal(char* Buffer, size_t Size, size_t Count, void* Data) {
    auto& T = *static_cast<TTransfer*>(Data);
    DWORD Written = 0;
    if (!WriteFile(T.File, Buffer, static_cast<DWORD>(Size * Count), &Written, nullptr))
        return 0;
    T.Bytes += Written;
    return Written;
}

bool IsConnectError(CURLcode Code) {
    switch (Code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_LOGIN_DENIED:
    case CURLE_OPERATION_TIMEDOUT:
        return true;
    default:
        return false;
    }
}

TFtpOutcome Fail(TFtpResult Result, const String& Error) {
    TFtpOutcome Outcome;
    Outcome.Result = Result;
    Outcome.Error = Error;
    return Outcome;
}

// Runs the prepared transfer and sorts its end into the result codes.
TFtpOutcome Perform(CURL* Curl, TTransfer& Transfer) {
    char ErrorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(Curl, CURLOPT_ERRORBUFFER, ErrorText);
    curl_easy_setopt(Curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(Curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(Curl, CURLOPT_XFERINFODATA, &Transfer);
    curl_easy_setopt(Curl, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(Curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, 60L);
    curl_easy_setopt(Curl, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(Curl, CURLOPT_FTP_USE_EPSV, 1L);
    curl_easy_setopt(Curl, CURLOPT_FORBID_REUSE, 1L);
    // The reply codes are only seen through the debug channel.
    curl_easy_setopt(Curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(Curl, CURLOPT_DEBUGFUNCTION, OnDebug);
    curl_easy_setopt(Curl, CURLOPT_DEBUGDATA, &Transfer);
    const CURLcode Code = curl_easy_perform(Curl);
    // A Cancel seen at the transfer's last report is a cancel, even when curl ends well.
    if (Code == CURLE_ABORTED_BY_CALLBACK || Transfer.Progress.Cancelled())
        return Fail(ftpCancelled, String());
    if (Code == CURLE_OK)
        return {};
    // The server's own refusal tells the user more than the client's summary of it.
    const std::string Reason = !Transfer.LastRefusalLine.empty() ? Transfer.LastRefusalLine
                               : *ErrorText                      ? std::string(ErrorText)
                                                                 : curl_easy_strerror(Code);
    TFtpOutcome Outcome =
        Fail(IsConnectError(Code) ? ftpConnectFailed : ftpTransferFailed, FromUtf8(Reason));
    Outcome.AccessDenied = Outcome.Result == ftpTransferFailed && Transfer.LastRefusal == 550;
    return Outcome;
}

// Sets what both directions share; false when the target cannot be addressed.
bool Prepare(CURL* Curl, const TFtpTarget& Target, const String& Name, TFtpOutcome& Outcome) {
    const int Port = FtpPort(Target.Port);
    if (!Curl || Port == 0 || !IsPlainHost(Target.Host) || Name.empty()) {
        Outcome = Fail(ftpConnectFailed, Target.Host + L":" + Target.Port + L" " + Name);
        return false;
    }
    curl_easy_setopt(Curl, CURLOPT_URL, FtpUrl(Curl, Target, Port, Name).c_str());
    curl_easy_setopt(Curl, CURLOPT_USERNAME, ToUtf8(Target.User).c_str());
    curl_easy_setopt(Curl, CURLOPT_PASSWORD, ToUtf8(Target.Password).c_str());
    return true;
}

} // namespace

int FtpPort(const String& PortText) {
    const String Text = Trim(PortText);
    if (Text.empty())
        return 21;
    for (const wchar_t Ch : Text)
        if (Ch < L'0' || Ch > L'9')
            return 0;
    const int Port = StrToIntDef(Text, 0);
    return Port >= 1 && Port <= 65535 ? Port : 0;
}

String BareArchiveName(const String& Name) {
    const size_t Slash = Name.find_last_of(L"\\/:");
    const String Bare = Trim(Slash == String::npos ? Name : Name.substr(Slash + 1));
    return Bare == L"." || Bare == L".." ? String() : Bare;
}

TFtpOutcome FtpUpload(const TFtpTarget& Target, const String& LocalFile, const String& RemoteName,
                      const TFtpLabels& Labels, IProgress& Progress) {
    TFtpOutcome Outcome;
    TCurl Curl = NewCurl();
    if (!Prepare(Curl.get(), Target, BareArchiveName(RemoteName), Outcome))
        return Outcome;
    const TOwnedHandle File =
        OwnHandle(CreateFileW(ExtendedPath(LocalFile).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER Size{};
    if (!File || !GetFileSizeEx(File.get(), &Size))
        return Fail(ftpTransferFailed, LocalFile + L": " + SysErrorMessage(GetLastError()));
    Progress.SetLabel(Labels.Connecting);
    Progress.SetRange(Size.QuadPart);
    Progress.SetPosition(0);
    TTransfer Transfer{Progress, Labels, File.get()};
    curl_easy_setopt(Curl.get(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(Curl.get(), CURLOPT_READFUNCTION, ReadLocal);
    curl_easy_setopt(Curl.get(), CURLOPT_READDATA, &Transfer);
    curl_easy_setopt(Curl.get(), CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(Size.QuadPart));
    return Perform(Curl.get(), Transfer);
}

TFtpOutcome FtpDownload(const TFtpTarget& Target, const String& RemoteName, const String& LocalFile,
                        const TFtpLabels& Labels, IProgress& Progress) {
    TFtpOutcome Outcome;
    TCurl Curl = NewCurl();
    if (!Prepare(Curl.get(), Target, BareArchiveName(RemoteName), Outcome))
        return Outcome;
    {
        const TOwnedHandle File =
            OwnHandle(CreateFileW(ExtendedPath(LocalFile).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!File)
            return Fail(ftpTransferFailed, LocalFile + L": " + SysErrorMessage(GetLastError()));
        Progress.SetLabel(Labels.Connecting);
        Progress.SetPosition(0);
        TTransfer Transfer{Progress, Labels, File.get()};
        curl_easy_setopt(Curl.get(), CURLOPT_WRITEFUNCTION, WriteLocal);
        curl_easy_setopt(Curl.get(), CURLOPT_WRITEDATA, &Transfer);
        Outcome = Perform(Curl.get(), Transfer);
        curl_off_t Expected = -1;
        curl_easy_getinfo(Curl.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &Expected);
        // A server that closes early without an error must not pass off part of a file.
        if (Outcome.Result == ftpOk && Expected >= 0 && Expected != Transfer.Bytes)
            Outcome = Fail(ftpTransferFailed, LocalFile);
    }
    if (Outcome.Result != ftpOk)
        FileDelete(LocalFile);
    return Outcome;
}
