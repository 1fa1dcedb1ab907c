#pragma once

#include "classlib/rtl/SysUtils.h"
#include "main/Statistics.h"

#include <functional>
#include <vector>

// The HTML report of a run: the template AppDir\Data\Template\Report.htm holds
// 26 "%s" placeholders that take, in order, the date and time, count and size
// of categories 1 to 5 and their sums for this run, the same for all time, and
// the action log. It refers to its pictures in the folder "Images" beside it.

// The pictures of the template, in AppDir\Data\Template\Images.
extern const std::vector<String> ReportImageNames;

// Text made safe to stand in HTML text or an attribute value.
String EscapeHtml(const String& Text);

// The 26 values in template order; the log lines are HTML-escaped.
std::vector<String> ReportValues(const TStatistics& Stats, const String& NowText);

// Each value takes the place of the next "%s" of the text; values left without
// a placeholder are dropped, and placeholders left without a value stay. A
// "%s" inside a value is never taken for a placeholder.
String FillPlaceholders(const String& Text, const std::vector<String>& Values);

// Writes AppDir\Temp\Report.htm from the template with its pictures in
// AppDir\Temp\Images (missing pictures are left out). False on any failure.
bool WriteReport(const String& AppDir, const TStatistics& Stats, const String& NowText);

// Every character other than 0-9, A-Z and a-z becomes "_".
String MakeSafeFileName(const String& Text);

// Copies the written report with its pictures into
// Folder\QRV_Report-<When as date-time text, made safe>, replacing files of the
// same names. False on any failure.
bool SaveReportCopy(const String& AppDir, const String& Folder, TDateTime When);

// The report offer when the main window closes: only when something was
// counted or logged, AskToView is asked; on yes the report is written and
// ShowViewer shows it. Failures end the offer silently; afterwards nothing is
// pending any more.
void OfferReport(TStatistics& Stats, const String& AppDir, const std::function<bool()>& AskToView,
                 const std::function<void()>& ShowViewer);
