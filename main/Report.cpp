#include "main/Report.h"
#include "classlib/rtl/PathLayer.h"

#include "app/FileInfo.h"
#include "classlib/rtl/Classes.h"

#include <exception>

const std::vector<String> ReportImageNames = {L"duplicate.jpg", L"list.jpg",  L"old.jpg",
                                              L"search.jpg",    L"tools.jpg", L"junk.jpg"};

namespace {

constexpr int ReportedCategories = 5; // category 6 is kept but not shown

const wchar_t* const Placeholder = L"%s";

String TemplateFileName(const String& AppDir) {
    return AppDir + L"Data\\Template\\Report.htm";
}

String WrittenReportFileName(const String& AppDir) {
    return AppDir + L"Temp\\Report.htm";
}

// Pictures that are missing or cannot be copied are not an error: the page simply lacks them.
void CopyReportImages(const String& AppDir, const String& ImagesFolder) {
    if (!ForceDirectories(ImagesFolder))
        return;
    const String Source = AppDir + L"Data\\Template\\Images\\";
    for (const String& Name : ReportImageNames)
        CopyFileW(ExtendedPath(Source + Name).c_str(),
                  ExtendedPath(IncludeTrailingBackslash(ImagesFolder) + Name).c_str(), FALSE);
}

void AddCountAndSize(std::vector<String>& Values, std::int64_t Count, std::int64_t Size) {
    Values.push_back(IntToStr(Count));
    Values.push_back(FormatFileSize64(Size));
}

} // namespace

String EscapeHtml(const String& Text) {
    String Result;
    Result.reserve(Text.size());
    for (const wchar_t C : Text) {
        switch (C) {
        case L'&':
            Result += L"&amp;";
            break;
        case L'<':
            Result += L"&lt;";
            break;
        case L'>':
            Result += L"&gt;";
            break;
        case L'"':
            Result += L"&quot;";
            break;
        case L'\'':
            Result += L"&#39;";
            break;
        default:
            Result += C;
        }
    }
    return Result;
}

std::vector<String> ReportValues(const TStatistics& Stats, const String& NowText) {
    std::vector<String> Values{NowText};
    using Getter = std::int64_t (TStatistics::*)(int) const;
    const auto AddPeriod = [&](Getter CountOf, Getter SizeOf) {
        std::int64_t CountSum = 0;
        std::int64_t SizeSum = 0;
        for (int Category = 1; Category <= ReportedCategories; ++Category) {
            AddCountAndSize(Values, (Stats.*CountOf)(Category), (Stats.*SizeOf)(Category));
            CountSum += (Stats.*CountOf)(Category);
            SizeSum += (Stats.*SizeOf)(Category);
        }
        AddCountAndSize(Values, CountSum, SizeSum);
    };
    AddPeriod(&TStatistics::CurrentCount, &TStatistics::CurrentSize);
    AddPeriod(&TStatistics::TotalCount, &TStatistics::TotalSize);

    String Log;
    const TStringList& Lines = Stats.LogLines();
    for (int I = 0; I < Lines.Count(); ++I)
        Log += EscapeHtml(Lines.StringRef(I)) + L"<br>\r\n";
    Values.push_back(Log);
    return Values;
}

String FillPlaceholders(const String& Text, const std::vector<String>& Values) {
    String Result = Text;
    std::size_t From = 0;
    for (const String& Value : Values) {
        const std::size_t At = Result.find(Placeholder, From);
        if (At == String::npos)
            break;
        Result.replace(At, 2, Value);
        From = At + Value.size();
    }
    return Result;
}

bool WriteReport(const String& AppDir, const TStatistics& Stats, const String& NowText) {
    try {
        TStringList Page;
        Page.LoadFromFile(TemplateFileName(AppDir));
        Page.SetText(FillPlaceholders(Page.Text(), ReportValues(Stats, NowText)));
        CopyReportImages(AppDir, AppDir + L"Temp\\Images");
        Page.SaveToFile(WrittenReportFileName(AppDir));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

String MakeSafeFileName(const String& Text) {
    String Result = Text;
    for (wchar_t& C : Result) {
        const bool Safe =
            (C >= L'0' && C <= L'9') || (C >= L'A' && C <= L'Z') || (C >= L'a' && C <= L'z');
        if (!Safe)
            C = L'_';
    }
    return Result;
}

bool SaveReportCopy(const String& AppDir, const String& Folder, TDateTime When) {
    try {
        const String ReportFolder = IncludeTrailingBackslash(Folder) + L"QRV_Report-" +
                                    MakeSafeFileName(DateTimeToStr(When)) + L"\\";
        if (!ForceDirectories(ReportFolder))
            return false;
        CopyReportImages(AppDir, ReportFolder + L"Images");
        return CopyFileW(ExtendedPath(WrittenReportFileName(AppDir)).c_str(),
                         ExtendedPath(ReportFolder + L"report.htm").c_str(), FALSE) != FALSE;
    } catch (const std::exception&) {
        return false;
    }
}

void OfferReport(TStatistics& Stats, const String& AppDir, const std::function<bool()>& AskToView,
                 const std::function<void()>& ShowViewer) {
    const bool Pending = Stats.ReportPending();
    Stats.ClearReportPending();
    if (!Pending)
        return;
    try {
        if (AskToView() && WriteReport(AppDir, Stats, DateTimeToStr(Now())))
            ShowViewer();
    } catch (const std::exception&) {
        // A report that cannot be made or shown is simply not offered.
    }
}
