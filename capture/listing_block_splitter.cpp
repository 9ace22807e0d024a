#include "capture/listing_block_splitter.h"

namespace larkspan {
namespace {

constexpr QChar kSectionSign(0x00A7);

}  // namespace

void ListingBlockSplitter::append(QStringView text, const BlockSink& sink) {
    qsizetype cut = text.indexOf(kSectionSign);
    if (cut < 0) {
        m_pending += text;
        return;
    }
    m_pending += text.first(cut);
    sink(m_pending);
    m_pending.resize(0);
    for (qsizetype from = cut + 1;; from = cut + 1) {
        cut = text.indexOf(kSectionSign, from);
        if (cut < 0) {
            m_pending += text.sliced(from);
            return;
        }
        sink(text.sliced(from, cut - from).toString());
    }
}

void ListingBlockSplitter::finish(const BlockSink& sink) {
    sink(m_pending);
    m_pending.resize(0);
}

}  // namespace larkspan
