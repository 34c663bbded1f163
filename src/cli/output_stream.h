// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIODevice>
#include <QString>

namespace kestrova {

// Standard output or standard error of a command-line tool as a device that keeps the first
// failed write: a run whose output was lost (a full disk, /dev/full) must not end as done.
// Writes go to the descriptor at once, so none waits in a buffer for a flush nobody checks.
class OutputStream : public QIODevice {
public:
    explicit OutputStream(int descriptor);

    bool isSequential() const override { return true; }
    // The system's text for the first failed write; empty while every write went through.
    const QString& failure() const { return m_failure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    int m_descriptor = -1;
    QString m_failure;
};

// The exit status of a tool that ran with `status` and wrote its output to `out`: when a write
// to `out` failed, one line "PROGRAM: standard output: REASON" on `err` and 1 in place of 0.
int statusAfterOutput(int status, const OutputStream& out, QIODevice& err, const QString& program);

}  // namespace kestrova
