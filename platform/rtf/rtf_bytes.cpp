#include "rtf_bytes.h"

#include "codepage.h"

namespace vx::rtf {

bool PendingBytes::isLead(unsigned char b) const { return b >= 0x80 && text::isLeadByte(b, cp_); }

const QString &PendingBytes::decoded()
{
    const auto n = static_cast<qsizetype>(bytes_.size());
    auto decode = [this, n] {
        const QByteArray b = QByteArray::fromRawData(bytes_.data(), n);
        return text::decode(b, cp_).value_or(QString::fromLatin1(b));
    };
    if (n > 7) {
        long_ = decode();
        return long_;
    }
    std::uint64_t key = std::uint64_t(n) << 56;
    for (qsizetype k = 0; k < n; ++k)
        key |= std::uint64_t(static_cast<unsigned char>(bytes_[size_t(k)])) << (8 * k);
    Memo &m = memo_[((key ^ std::uint64_t(cp_)) * 0x9E3779B97F4A7C15ull) >> 56];
    if (m.key != key || m.cp != cp_) {
        m.key = key;
        m.cp = cp_;
        m.text = decode();
    }
    return m.text;
}

} // namespace vx::rtf
