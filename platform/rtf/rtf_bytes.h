#pragma once
// Bytes of rich text waiting for their code page (\'hh escapes and 8-bit
// text): a double-byte character spans two of them, so they are decoded as a
// run when something else follows.
#include <QString>

#include <array>
#include <cstdint>
#include <string>

namespace vx::rtf {

class PendingBytes {
public:
    bool empty() const { return bytes_.empty(); }
    int codePage() const { return cp_; }
    // True when the bytes end in a lead byte still waiting for its trail.
    bool waitingForTrail() const { return oddLead_; }

    // The caller hands out what is pending before the code page changes.
    void add(unsigned char b, int cp)
    {
        cp_ = cp;
        ascii_ = ascii_ && b < 0x80;
        oddLead_ = !oddLead_ && isLead(b);
        bytes_.push_back(static_cast<char>(b));
    }

    // Hands each character of the pending bytes to `put`, and forgets them.
    template <typename Put>
    void flush(Put put)
    {
        if (bytes_.empty())
            return;
        if (ascii_) {
            // ASCII is itself in every code page read here: no converter.
            for (char b : bytes_)
                put(QChar(static_cast<unsigned char>(b)));
        } else {
            for (QChar ch : decoded())
                put(ch);
        }
        bytes_.clear(); // keeps its memory for the next bytes
        ascii_ = true;
        oddLead_ = false;
    }

private:
    bool isLead(unsigned char b) const;
    const QString &decoded();

    std::string bytes_;
    int cp_ = 1252;
    bool ascii_ = true;
    bool oddLead_ = false;
    // Escaped text is mostly one or two bytes between control words, the same
    // few characters again and again: short runs are decoded once each.
    struct Memo {
        std::uint64_t key = 0; // 0: empty
        int cp = 0;
        QString text;
    };
    std::array<Memo, 256> memo_;
    QString long_;
};

} // namespace vx::rtf
