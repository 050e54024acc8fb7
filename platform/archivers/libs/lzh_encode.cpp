#include "lzh_encode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <queue>

namespace arc {

namespace {

constexpr int kNC = 510; // 256 literals + lengths 3..256
constexpr int kNT = 19;
constexpr int kTBIT = 5;
constexpr int kCBIT = 9;
constexpr int kMaxMatch = 256;
constexpr int kMinMatch = 3;
constexpr size_t kBlockCodes = 0x7FFF;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t> &out) : out_(out) {}
    void put(int n, uint32_t v)
    {
        if (n <= 0)
            return;
        acc_ = (acc_ << n) | (v & ((n >= 32) ? 0xFFFFFFFFu : ((1u << n) - 1)));
        bits_ += n;
        while (bits_ >= 8) {
            bits_ -= 8;
            out_.push_back(static_cast<uint8_t>(acc_ >> bits_));
        }
        acc_ &= (bits_ ? ((1ull << bits_) - 1) : 0);
    }
    void flush()
    {
        if (bits_ > 0)
            out_.push_back(static_cast<uint8_t>(acc_ << (8 - bits_)));
        bits_ = 0;
        acc_ = 0;
    }

private:
    std::vector<uint8_t> &out_;
    uint64_t acc_ = 0;
    int bits_ = 0;
};

// Code lengths of at most 16 bits. Returns the only symbol when fewer than two
// symbols occur (-1 for none: symbol 0 stands in), else n (a real tree).
int makeLengths(const std::vector<uint32_t> &freqIn, std::vector<uint8_t> &len)
{
    const int n = static_cast<int>(freqIn.size());
    len.assign(n, 0);
    std::vector<uint32_t> freq = freqIn;
    int used = 0;
    int only = 0;
    for (int i = 0; i < n; ++i)
        if (freq[i]) {
            ++used;
            only = i;
        }
    if (used < 2)
        return used ? only : 0;
    for (;;) {
        // Huffman by merging the two rarest nodes.
        struct Node {
            uint64_t w;
            int id;
        };
        auto cmp = [](const Node &a, const Node &b) { return a.w > b.w || (a.w == b.w && a.id > b.id); };
        std::priority_queue<Node, std::vector<Node>, decltype(cmp)> heap(cmp);
        std::vector<int> parent(2 * n, -1);
        for (int i = 0; i < n; ++i)
            if (freq[i])
                heap.push({freq[i], i});
        int next = n;
        while (heap.size() > 1) {
            const Node a = heap.top();
            heap.pop();
            const Node b = heap.top();
            heap.pop();
            parent[a.id] = next;
            parent[b.id] = next;
            heap.push({a.w + b.w, next});
            ++next;
        }
        int maxLen = 0;
        for (int i = 0; i < n; ++i) {
            if (!freq[i])
                continue;
            int d = 0;
            for (int p = i; parent[p] >= 0; p = parent[p])
                ++d;
            len[i] = static_cast<uint8_t>(d);
            maxLen = std::max(maxLen, d);
        }
        if (maxLen <= 16)
            return n;
        for (auto &f : freq)
            if (f)
                f = (f + 1) / 2;
    }
}

void makeCodes(const std::vector<uint8_t> &len, std::vector<uint16_t> &code)
{
    std::array<uint32_t, 18> count{};
    for (uint8_t l : len)
        count[l]++;
    std::array<uint32_t, 18> start{};
    start[1] = 0;
    for (int i = 1; i <= 16; ++i)
        start[i + 1] = (start[i] + count[i]) << 1;
    code.assign(len.size(), 0);
    for (size_t i = 0; i < len.size(); ++i)
        if (len[i])
            code[i] = static_cast<uint16_t>(start[len[i]]++);
}

int bitLength(uint32_t v)
{
    int b = 0;
    while (v) {
        ++b;
        v >>= 1;
    }
    return b;
}

struct Code {
    uint16_t c;    // literal or 256 + length - 3
    uint16_t dist; // distance - 1 (matches only)
};

class BlockWriter {
public:
    BlockWriter(BitWriter &bw, int np, int pbit) : bw_(bw), np_(np), pbit_(pbit) {}

    void write(const std::vector<Code> &codes)
    {
        std::vector<uint32_t> cfreq(kNC, 0), pfreq(np_, 0);
        for (const Code &k : codes) {
            cfreq[k.c]++;
            if (k.c >= 256)
                pfreq[bitLength(k.dist)]++;
        }
        bw_.put(16, static_cast<uint32_t>(codes.size()));
        // libarchive cannot read a literal table of one symbol: give it two.
        atLeastTwo(cfreq);
        std::vector<uint8_t> clen, plen;
        std::vector<uint16_t> ccode, pcode;
        const int croot = makeLengths(cfreq, clen);
        if (croot >= kNC) {
            std::vector<uint32_t> tfreq(kNT, 0);
            countTFreq(clen, tfreq);
            atLeastTwo(tfreq);
            const int troot = makeLengths(tfreq, tlen_);
            if (troot >= kNT) {
                makeCodes(tlen_, tcode_);
                writePtLen(tlen_, kNT, kTBIT, 3);
            } else {
                tlen_.assign(kNT, 0);
                tcode_.assign(kNT, 0);
                bw_.put(kTBIT, 0);
                bw_.put(kTBIT, static_cast<uint32_t>(troot));
            }
            writeCLen(clen);
            makeCodes(clen, ccode);
        } else {
            bw_.put(kTBIT, 0);
            bw_.put(kTBIT, 0);
            bw_.put(kCBIT, 0);
            bw_.put(kCBIT, static_cast<uint32_t>(croot));
            clen.assign(kNC, 0);
            ccode.assign(kNC, 0);
        }
        const int proot = makeLengths(pfreq, plen);
        if (proot >= np_) {
            makeCodes(plen, pcode);
            writePtLen(plen, np_, pbit_, -1);
        } else {
            bw_.put(pbit_, 0);
            bw_.put(pbit_, static_cast<uint32_t>(proot));
            plen.assign(np_, 0);
            pcode.assign(np_, 0);
        }
        for (const Code &k : codes) {
            bw_.put(clen[k.c], ccode[k.c]);
            if (k.c >= 256) {
                const int b = bitLength(k.dist);
                bw_.put(plen[b], pcode[b]);
                if (b > 1)
                    bw_.put(b - 1, k.dist & ((1u << (b - 1)) - 1));
            }
        }
    }

private:
    static void atLeastTwo(std::vector<uint32_t> &freq)
    {
        int used = 0;
        int only = 0;
        for (size_t i = 0; i < freq.size(); ++i)
            if (freq[i]) {
                ++used;
                only = static_cast<int>(i);
            }
        if (used == 1)
            freq[only == 0 ? 1 : 0] = 1;
    }

    static int trimmed(const std::vector<uint8_t> &len, int n)
    {
        while (n > 0 && len[n - 1] == 0)
            --n;
        return n;
    }

    void countTFreq(const std::vector<uint8_t> &clen, std::vector<uint32_t> &tfreq)
    {
        const int n = trimmed(clen, kNC);
        int i = 0;
        while (i < n) {
            const int k = clen[i++];
            if (k == 0) {
                int count = 1;
                while (i < n && clen[i] == 0) {
                    ++i;
                    ++count;
                }
                if (count <= 2)
                    tfreq[0] += count;
                else if (count <= 18)
                    tfreq[1]++;
                else if (count == 19) {
                    tfreq[0]++;
                    tfreq[1]++;
                } else
                    tfreq[2]++;
            } else {
                tfreq[k + 2]++;
            }
        }
    }

    void writePtLen(const std::vector<uint8_t> &len, int nn, int nbit, int special)
    {
        const int n = trimmed(len, nn);
        bw_.put(nbit, static_cast<uint32_t>(n));
        int i = 0;
        while (i < n) {
            const int k = len[i++];
            if (k <= 6)
                bw_.put(3, static_cast<uint32_t>(k));
            else
                bw_.put(k - 3, (1u << (k - 3)) - 2);
            if (i == special) {
                while (i < 6 && len[i] == 0)
                    ++i;
                bw_.put(2, static_cast<uint32_t>((i - 3) & 3));
            }
        }
    }

    void writeCLen(const std::vector<uint8_t> &clen)
    {
        const int n = trimmed(clen, kNC);
        bw_.put(kCBIT, static_cast<uint32_t>(n));
        int i = 0;
        while (i < n) {
            const int k = clen[i++];
            if (k == 0) {
                int count = 1;
                while (i < n && clen[i] == 0) {
                    ++i;
                    ++count;
                }
                if (count <= 2) {
                    for (int j = 0; j < count; ++j)
                        bw_.put(tlen_[0], tcode_[0]);
                } else if (count <= 18) {
                    bw_.put(tlen_[1], tcode_[1]);
                    bw_.put(4, static_cast<uint32_t>(count - 3));
                } else if (count == 19) {
                    bw_.put(tlen_[0], tcode_[0]);
                    bw_.put(tlen_[1], tcode_[1]);
                    bw_.put(4, 15);
                } else {
                    bw_.put(tlen_[2], tcode_[2]);
                    bw_.put(kCBIT, static_cast<uint32_t>(count - 20));
                }
            } else {
                bw_.put(tlen_[k + 2], tcode_[k + 2]);
            }
        }
    }

    BitWriter &bw_;
    int np_;
    int pbit_;
    std::vector<uint8_t> tlen_;
    std::vector<uint16_t> tcode_;
};

} // namespace

uint16_t lzhCrc16(const uint8_t *data, size_t size, uint16_t crc)
{
    static const auto table = [] {
        std::array<uint16_t, 256> t{};
        for (int i = 0; i < 256; ++i) {
            uint16_t c = static_cast<uint16_t>(i);
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? static_cast<uint16_t>((c >> 1) ^ 0xA001) : static_cast<uint16_t>(c >> 1);
            t[i] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < size; ++i)
        crc = static_cast<uint16_t>(table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

std::vector<uint8_t> lzhEncode(const uint8_t *data, size_t size, int dicbit)
{
    std::vector<uint8_t> out;
    out.reserve(size / 2 + 64);
    BitWriter bw(out);
    const int np = dicbit + 1;
    const int pbit = dicbit == 13 ? 4 : 5;
    BlockWriter block(bw, np, pbit);
    const size_t window = (size_t{1} << dicbit) - 1;
    constexpr int kHashBits = 15;
    constexpr uint32_t kHashSize = 1u << kHashBits;
    const int maxChain = dicbit == 13 ? 48 : 64;
    std::vector<int64_t> head(kHashSize, -1);
    std::vector<int64_t> prev(size_t{1} << dicbit, -1);
    const size_t mask = (size_t{1} << dicbit) - 1;
    auto hash = [&](size_t i) {
        const uint32_t v = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8) | data[i + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](size_t i) {
        if (i + 2 >= size)
            return;
        const uint32_t h = hash(i);
        prev[i & mask] = head[h];
        head[h] = static_cast<int64_t>(i);
    };
    auto longest = [&](size_t i, size_t &bestDist) -> size_t {
        if (i + kMinMatch > size)
            return 0;
        const size_t limit = std::min<size_t>(kMaxMatch, size - i);
        size_t best = 0;
        int64_t cand = head[hash(i)];
        int chain = maxChain;
        while (cand >= 0 && chain-- > 0) {
            const size_t c = static_cast<size_t>(cand);
            const size_t dist = i - c;
            if (dist > window || dist == 0)
                break;
            if (data[c + best] == data[i + best]) {
                size_t l = 0;
                while (l < limit && data[c + l] == data[i + l])
                    ++l;
                if (l > best) {
                    best = l;
                    bestDist = dist;
                    if (l == limit)
                        break;
                }
            }
            const int64_t p = prev[c & mask];
            if (p >= cand)
                break;
            cand = p;
        }
        return best >= kMinMatch ? best : 0;
    };

    std::vector<Code> codes;
    codes.reserve(kBlockCodes);
    size_t i = 0;
    while (i < size) {
        size_t dist = 0;
        const size_t len = longest(i, dist);
        auto emitMatch = [&](size_t at, size_t l, size_t d, size_t firstInsert) {
            codes.push_back({static_cast<uint16_t>(256 + l - kMinMatch), static_cast<uint16_t>(d - 1)});
            for (size_t k = firstInsert; k < l; ++k)
                insert(at + k);
            i = at + l;
        };
        if (len && len < 32 && i + 1 < size) {
            // One step of lazy matching: a longer match at the next byte wins.
            insert(i);
            size_t dist2 = 0;
            const size_t len2 = longest(i + 1, dist2);
            if (len2 > len) {
                codes.push_back({data[i], 0});
                emitMatch(i + 1, len2, dist2, 0);
            } else {
                emitMatch(i, len, dist, 1);
            }
        } else if (len) {
            emitMatch(i, len, dist, 0);
        } else {
            codes.push_back({data[i], 0});
            insert(i);
            ++i;
        }
        if (codes.size() >= kBlockCodes - 1) {
            block.write(codes);
            codes.clear();
        }
    }
    if (!codes.empty())
        block.write(codes);
    bw.flush();
    return out;
}

} // namespace arc
