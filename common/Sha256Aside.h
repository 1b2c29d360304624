// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Sha256.h"

#include <QByteArray>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// SHA-256 of bytes given piece by piece, taken on a thread of its own, so that a large file is
// hashed while it is written rather than after. Pieces are hashed in the order given.
class Sha256Aside
{
public:
    Sha256Aside();
    ~Sha256Aside();
    Sha256Aside(const Sha256Aside&) = delete;
    Sha256Aside& operator=(const Sha256Aside&) = delete;

    // Bytes that stay in place until result() returns.
    void addStable(const char* bytes, qsizetype size);
    // Bytes that may change once this returns: they are copied (at most a few buffers' worth
    // wait at a time).
    void addCopy(const char* bytes, qsizetype size);
    // Waits for every piece; the digest, as Sha256Hash::result() gives it. Call once.
    QByteArray result();

private:
    struct Piece {
        const char* bytes = nullptr;
        qsizetype size = 0;
        QByteArray copy;
    };
    void push(Piece piece);
    void finish();
    void run();

    Sha256Hash m_hash;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Piece> m_queue;
    qsizetype m_copied = 0; // bytes of copies waiting
    bool m_done = false;
    std::thread m_thread;
};
