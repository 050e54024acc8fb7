#include "layoutpacer.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimerEvent>

namespace vx {

namespace {

// Qt's document layout lays out what is not shown yet in the background, on
// a 10 ms timer, in steps that double up to 200,000 characters: over a large
// document a tenth of a second and more on the window thread, again and
// again for seconds. Those steps are taken here instead, a few milliseconds
// of layout at a time, through the layout's own on-demand path.
class LayoutPacer : public QObject {
public:
    static constexpr const char *kName = "vx-layout-pacer";

    explicit LayoutPacer(QAbstractTextDocumentLayout *layout) : QObject(layout), layout_(layout)
    {
        setObjectName(QLatin1String(kName));
        layout->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched != layout_ || e->type() != QEvent::Timer || !isLayoutStep(static_cast<QTimerEvent *>(e)))
            return false;
        return step();
    }

private:
    static constexpr int kSliceMs = 5;

    // The layout's stepping timer, not its 0 ms one that reports the size.
    bool isLayoutStep(const QTimerEvent *e) const
    {
        const QAbstractEventDispatcher *d = QAbstractEventDispatcher::instance(layout_->thread());
        if (!d)
            return false;
        for (const QAbstractEventDispatcher::TimerInfo &t : d->registeredTimers(layout_))
            if (t.timerId == e->timerId())
                return t.interval > 0;
        return false;
    }

    static bool laidOut(const QTextBlock &b) { return !b.isVisible() || b.layout()->lineCount() > 0; }

    // False leaves the step to Qt (nothing it could do here).
    bool step()
    {
        const QTextDocument *doc = layout_->document();
        // The layout goes from the start on: what it has done is a leading run of blocks.
        int lo = 0;
        int hi = doc->blockCount();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (laidOut(doc->findBlockByNumber(mid)))
                lo = mid + 1;
            else
                hi = mid;
        }
        QTextBlock b = doc->findBlockByNumber(lo);
        if (!b.isValid())
            return false;
        QElapsedTimer clock;
        clock.start();
        QTextBlock last;
        do {
            layout_->blockBoundingRect(b); // lays out up to here (and on to its next check point)
            if (!laidOut(b))
                return false;
            while (b.isValid() && laidOut(b)) {
                last = b;
                b = b.next();
            }
        } while (b.isValid() && clock.elapsed() < kSliceMs);
        // Qt reports the size as it goes only for a change under 5 % of the
        // document, as its sum reckons it, which overflows past 21 million
        // characters: the scroll bar would stay at the first page until the
        // whole document is laid out. The text box measures the size itself.
        if (b.isValid())
            emit layout_->documentSizeChanged(
                QSizeF(doc->pageSize().width(), layout_->blockBoundingRect(last).bottom()));
        return true;
    }

    QAbstractTextDocumentLayout *layout_;
};

} // namespace

void paceLayout(QTextDocument *doc)
{
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    if (!layout->findChild<QObject *>(QLatin1String(LayoutPacer::kName), Qt::FindDirectChildrenOnly))
        new LayoutPacer(layout);
}

} // namespace vx
