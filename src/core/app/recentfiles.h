#pragma once

// The documents opened or saved last, newest first, kept in the per-user settings store
// (section "RecentFiles") so that they outlive the run. Files that no longer exist drop out.

#include <QStringList>

class RecentFiles {
public:
    static constexpr int Max = 8;

    // The list as stored, without the files that are gone (which are removed from the store).
    static QStringList load();
    // Puts path at the top (once), keeps Max, stores the list and returns it.
    static QStringList add(const QString& path);
    static QStringList remove(const QString& path);
    static void clear();
};
