#include "linepairs.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace vx::text {

namespace {

// The searches below look at the lines between those both texts begin and
// end with, `offset` lines in.

// A shortest edit script of whole lines (Myers), its kept lines paired.
// False past a bound of work.
bool keptLines(const quint64 *x0, qsizetype n, const quint64 *y0, qsizetype m, qsizetype offset, LinePairs &pair)
{
    // The bound keeps a save of a large, much changed text quick.
    const qsizetype maxD = std::min<qsizetype>({n + m, 1000, std::max<qsizetype>(16, 50'000'000 / (n + m))});
    std::vector<qsizetype> v(size_t(2 * maxD + 3), 0);
    const qsizetype off = maxD + 1;
    std::vector<std::vector<qsizetype>> trace;
    qsizetype found = -1;
    for (qsizetype d = 0; d <= maxD && found < 0; ++d) {
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = (k == -d || (k != d && v[size_t(off + k - 1)] < v[size_t(off + k + 1)]))
                              ? v[size_t(off + k + 1)]
                              : v[size_t(off + k - 1)] + 1;
            qsizetype y = x - k;
            while (x < n && y < m && x0[x] == y0[y]) {
                ++x;
                ++y;
            }
            v[size_t(off + k)] = x;
            if (x >= n && y >= m)
                found = d;
        }
        trace.emplace_back(v.begin() + off - d, v.begin() + off + d + 1);
    }
    if (found < 0)
        return false;
    qsizetype x = n, y = m;
    for (qsizetype d = found; d > 0; --d) {
        const std::vector<qsizetype> &prev = trace[size_t(d - 1)]; // k from -(d-1)
        auto at = [&](qsizetype k) { return prev[size_t(k + d - 1)]; };
        const qsizetype k = x - y;
        const qsizetype pk = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const qsizetype px = at(pk), py = px - pk;
        const qsizetype sx = pk == k + 1 ? px : px + 1; // where the snake began
        while (x > sx) {
            --x;
            --y;
            pair[size_t(offset + y)] = offset + x;
        }
        x = px;
        y = py;
    }
    while (x > 0 && y > 0) {
        --x;
        --y;
        pair[size_t(offset + y)] = offset + x;
    }
    return true;
}

// The cheapest way from `a` to `b` with a line kept free and a line changed,
// added or removed costing one, in a band around the diagonal: a changed line
// pairs with the line it was, however it reads (an edit script of kept lines
// alone pairs an edited line that read like its neighbour with the wrong
// one). False when the band would not fit the bound.
bool changedLines(const quint64 *x, qsizetype n, const quint64 *y, qsizetype m, qsizetype offset, LinePairs &pair)
{
    constexpr qsizetype kCells = 8 << 20;
    const qsizetype spread = std::abs(m - n);
    const qsizetype band = std::min<qsizetype>(256, (kCells / (n + 1) - spread - 1) / 2);
    if (band < 8)
        return false;
    const qsizetype lo = std::min<qsizetype>(0, m - n) - band, hi = std::max<qsizetype>(0, m - n) + band;
    const qsizetype width = hi - lo + 1;
    enum : quint8 { Diagonal, Added, Removed };
    std::vector<quint8> from(size_t((n + 1) * width));
    constexpr int kFar = std::numeric_limits<int>::max() / 2;
    std::vector<int> prev(size_t(width), kFar), cur(size_t(width), kFar);
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype c = 0; c < width; ++c) {
            const qsizetype j = i + lo + c;
            int best = kFar;
            quint8 way = Diagonal;
            if (j >= 0 && j <= m) {
                if (i == 0 && j == 0)
                    best = 0;
                if (i > 0 && j > 0 && prev[size_t(c)] < kFar)
                    best = prev[size_t(c)] + (x[i - 1] == y[j - 1] ? 0 : 1);
                if (j > 0 && c > 0 && cur[size_t(c - 1)] + 1 < best) {
                    best = cur[size_t(c - 1)] + 1;
                    way = Added;
                }
                if (i > 0 && c + 1 < width && prev[size_t(c + 1)] + 1 < best) {
                    best = prev[size_t(c + 1)] + 1;
                    way = Removed;
                }
            }
            cur[size_t(c)] = best;
            from[size_t(i * width + c)] = way;
        }
        std::swap(prev, cur);
    }
    for (qsizetype i = n, j = m; i > 0 || j > 0;) {
        switch (from[size_t(i * width + (j - i - lo))]) {
        case Diagonal: pair[size_t(offset + --j)] = offset + --i; break;
        case Added: --j; break;
        case Removed: --i; break;
        }
    }
    return true;
}

} // namespace

LinePairs pairLines(const std::vector<quint64> &a, const std::vector<quint64> &b)
{
    LinePairs pair(b.size(), -1);
    const qsizetype n0 = qsizetype(a.size()), m0 = qsizetype(b.size());
    qsizetype head = 0;
    while (head < n0 && head < m0 && a[size_t(head)] == b[size_t(head)]) {
        pair[size_t(head)] = head;
        ++head;
    }
    qsizetype tail = 0;
    while (tail < n0 - head && tail < m0 - head && a[size_t(n0 - 1 - tail)] == b[size_t(m0 - 1 - tail)]) {
        pair[size_t(m0 - 1 - tail)] = n0 - 1 - tail;
        ++tail;
    }
    const qsizetype n = n0 - head - tail, m = m0 - head - tail;
    if (n == 0 || m == 0)
        return pair;
    const quint64 *x = a.data() + head, *y = b.data() + head;
    if (changedLines(x, n, y, m, head, pair))
        return pair;
    keptLines(x, n, y, m, head, pair);
    // Too many lines apart for that: kept lines found (none past the bound),
    // and between them the lines added in place of others pair with them
    // from the end: a line split in two ends as it did (the break typed
    // into it is new), two lines joined end as the second did.
    qsizetype prevOld = -1;
    for (size_t j = 0; j < size_t(m0);) {
        if (pair[j] >= 0) {
            prevOld = pair[j++];
            continue;
        }
        size_t end = j;
        while (end < size_t(m0) && pair[end] < 0)
            ++end;
        const qsizetype nextOld = end < size_t(m0) ? pair[end] : n0;
        const qsizetype paired = std::min(nextOld - 1 - prevOld, qsizetype(end - j));
        for (qsizetype i = 0; i < paired; ++i)
            pair[end - 1 - size_t(i)] = nextOld - 1 - i;
        j = end;
    }
    return pair;
}

} // namespace vx::text
