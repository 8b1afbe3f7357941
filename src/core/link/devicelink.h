#pragma once

// A symbolic link that names a pseudo-terminal (the virtual radio's device) by a stable path.
// Whatever else is at that path belongs to someone else: a user's file, a link the user put
// there, the link of another virtual radio that is running, a device node. It is never removed.

#include <QString>

class DeviceLink {
public:
    DeviceLink() = default;
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    // Removes the link when it is still the one made here.
    ~DeviceLink() { remove(); }

    // Makes path a symbolic link to target. Only where nothing exists, or over a symbolic link
    // to a pseudo-terminal that is gone (one left behind by a virtual radio that ended without
    // removing it). False with *why (one sentence naming path) otherwise.
    bool make(const QString& path, const QString& target, QString* why);
    // Removes the link if path still is the link made: the same file, pointing at the same
    // target. A link someone replaced meanwhile stays.
    void remove();
    QString path() const { return path_; }

private:
    QString path_;
    QString target_;
    quint64 device_ = 0, inode_ = 0;
};

// Whether path is a symbolic link left behind: it points into /dev/pts/ at a terminal that no
// longer exists.
bool IsStalePtyLink(const QString& path);
