#pragma once
// The FTP transfers of the backup: one archive up to or down from a server's folder, binary,
// passive, with progress and Cancel.

#include "app/Progress.h"
#include "classlib/rtl/SysUtils.h"

struct TFtpTarget {
    String Host;
    // Empty: "21".
    String Port;
    String User;
    String Password;
    // The remote folder; empty: "/".
    String Dir;
};

// The result codes of UploadBackup and DownloadBackup.
enum TFtpResult {
    ftpOk = 0,
    ftpConnectFailed = 1,  // connect, log in or change to the folder
    ftpTransferFailed = 2, // refused, cut or incomplete transfer
    ftpRecordFailed = 3,   // the FTPBackup record was not written
    ftpCancelled = 5,
};

struct TFtpOutcome {
    TFtpResult Result = ftpOk;
    // The server answered the transfer with 550.
    bool AccessDenied = false;
    // Why it failed: the server's refusal line when it gave one, else the client's reason.
    String Error;
};

// The labels shown while connecting and while the bytes travel.
struct TFtpLabels {
    String Connecting;
    String Transferring;
};

// The port text as a number; "" gives 21; 0 when it is no port number.
int FtpPort(const String& PortText);
// A bare file name for the archive: the part after the last "\" or "/"; empty when nothing
// usable is left.
String BareArchiveName(const String& Name);

// Sends LocalFile under RemoteName (a bare name) into Target.Dir, replacing a file of that name.
TFtpOutcome FtpUpload(const TFtpTarget& Target, const String& LocalFile, const String& RemoteName,
                      const TFtpLabels& Labels, IProgress& Progress);
// Fetches RemoteName from Target.Dir into LocalFile (created or emptied); a transfer that does
// not bring the whole file fails, and LocalFile is then deleted.
TFtpOutcome FtpDownload(const TFtpTarget& Target, const String& RemoteName, const String& LocalFile,
                        const TFtpLabels& Labels, IProgress& Progress);
