// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/keyring/keyring_password_store.h"

#include <qt6keychain/keychain.h>
#include <QCoroSignal>

#include <memory>

namespace kestrova {

namespace {

// The job's end as an answer. Entries never found are no failure of the keyring.
SecretAnswer answerOf(const QKeychain::Job& job) {
    switch (job.error()) {
        case QKeychain::NoError:
            return SecretAnswer{};
        case QKeychain::EntryNotFound:
            return SecretAnswer{SecretAnswer::Outcome::NotFound, {}, {}};
        case QKeychain::AccessDeniedByUser:
        case QKeychain::AccessDenied:
            return SecretAnswer{
                SecretAnswer::Outcome::Unavailable,
                {},
                QStringLiteral("the keyring refused access (%1)").arg(job.errorString())};
        case QKeychain::NoBackendAvailable:
        case QKeychain::NotImplemented:
            return SecretAnswer{
                SecretAnswer::Outcome::Unavailable,
                {},
                QStringLiteral("no desktop keyring is running (%1)").arg(job.errorString())};
        case QKeychain::CouldNotDeleteEntry:
        case QKeychain::OtherError:
            break;
    }
    return SecretAnswer{SecretAnswer::Outcome::Unavailable,
                        {},
                        QStringLiteral("the keyring failed (%1)").arg(job.errorString())};
}

// Runs a job to its end without a nested event loop.
template <typename JobType>
QCoro::Task<std::unique_ptr<JobType>> run(std::unique_ptr<JobType> job) {
    job->setAutoDelete(false);
    // Never the plain-text store some platforms offer instead of a keyring.
    job->setInsecureFallback(false);
    job->start();
    co_await qCoro(job.get(), &QKeychain::Job::finished);
    co_return job;
}

}  // namespace

KeyringPasswordStore::KeyringPasswordStore(QString service) : m_service(std::move(service)) {}

QCoro::Task<SecretAnswer> KeyringPasswordStore::read(QString userId) {
    auto job = std::make_unique<QKeychain::ReadPasswordJob>(m_service);
    job->setKey(userId);
    const auto done = co_await run(std::move(job));
    SecretAnswer answer = answerOf(*done);
    if (answer.done()) {
        answer.password = done->textData();
    }
    co_return answer;
}

QCoro::Task<SecretAnswer> KeyringPasswordStore::write(QString userId, QString password) {
    auto job = std::make_unique<QKeychain::WritePasswordJob>(m_service);
    job->setKey(userId);
    job->setTextData(password);
    const auto done = co_await run(std::move(job));
    co_return answerOf(*done);
}

QCoro::Task<SecretAnswer> KeyringPasswordStore::remove(QString userId) {
    auto job = std::make_unique<QKeychain::DeletePasswordJob>(m_service);
    job->setKey(userId);
    const auto done = co_await run(std::move(job));
    SecretAnswer answer = answerOf(*done);
    if (answer.outcome == SecretAnswer::Outcome::NotFound) {
        answer = SecretAnswer{};  // nothing kept is what removing wants
    }
    co_return answer;
}

}  // namespace kestrova
