// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Faults of the file system made for real, for the tests of what the program does when a disk
// is full or a folder may not be read.

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kestrova::testing {

// A tmpfs of `size` (mount(8)'s form, "12k") on a folder of its own, unmounted when it goes.
// Mounting needs root (as CI runs); mounted() says whether it worked, so a test can skip.
class ScopedTmpfs {
public:
    explicit ScopedTmpfs(const char* size) {
        const QByteArray options = QByteArray("size=") + size + ",mode=0755";
        m_mounted =
            m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                       "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
    }
    ~ScopedTmpfs() {
        if (m_mounted) {
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
        }
    }
    ScopedTmpfs(const ScopedTmpfs&) = delete;
    ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

    bool mounted() const { return m_mounted; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// While it lives, this thread obeys file permissions even as root: the capabilities that let
// root read and write past them are out of its effective set (and back afterwards).
class ObeyingFilePermissions {
public:
    ObeyingFilePermissions() {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0) {
            return;
        }
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~ObeyingFilePermissions() {
        if (m_lowered) {
            ::syscall(SYS_capset, &m_header, m_saved);
        }
    }
    ObeyingFilePermissions(const ObeyingFilePermissions&) = delete;
    ObeyingFilePermissions& operator=(const ObeyingFilePermissions&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};

}  // namespace kestrova::testing
