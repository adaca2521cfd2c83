// The selection files opened or saved last, for "Open recent": kept in the user's settings so that
// they outlast the session, newest first, each once, under its absolute clean path.
#pragma once

#include <QString>
#include <QStringList>

namespace tovimar {

// How many files the list keeps; the oldest drops off.
inline constexpr int kRecentSelectionsKept = 8;

// The list, newest first.
QStringList RecentSelections();
// `path` at the top of the list (moved there where it was on it already).
void RememberRecentSelection(const QString& path);
// `path` off the list.
void ForgetRecentSelection(const QString& path);
void ClearRecentSelections();

}  // namespace tovimar
