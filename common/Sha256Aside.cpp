// SPDX-License-Identifier: GPL-3.0-or-later
#include "Sha256Aside.h"

namespace
{
// Copies waiting past this hold up the writer, so that memory stays bounded.
constexpr qsizetype kMaxCopied = 8 << 20;
} // namespace

Sha256Aside::Sha256Aside() : m_thread([this] { run(); }) {}

Sha256Aside::~Sha256Aside()
{
    finish();
}

void Sha256Aside::addStable(const char* bytes, qsizetype size)
{
    push(Piece{bytes, size, {}});
}

void Sha256Aside::addCopy(const char* bytes, qsizetype size)
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_copied < kMaxCopied; });
        m_copied += size;
    }
    Piece piece{nullptr, size, QByteArray(bytes, size)};
    piece.bytes = piece.copy.constData();
    push(std::move(piece));
}

QByteArray Sha256Aside::result()
{
    finish();
    return m_hash.result();
}

void Sha256Aside::push(Piece piece)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(piece));
    }
    m_changed.notify_all();
}

void Sha256Aside::finish()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void Sha256Aside::run()
{
    for (;;) {
        Piece piece;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_done || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            piece = std::move(m_queue.front());
            m_queue.pop_front();
        }
        m_hash.addData(piece.bytes, piece.size);
        if (!piece.copy.isEmpty()) {
            {
                std::lock_guard lock(m_mutex);
                m_copied -= piece.size;
            }
            m_changed.notify_all();
        }
    }
}
