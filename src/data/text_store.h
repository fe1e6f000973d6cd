#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tomarina {

// The directory's texts side by side in blocks. A directory of 15000 hotels has some 150000 short
// texts, and a heap block each would cost each text more than its characters, so the tables' QStrings
// refer into shared blocks instead. Each text holds a reference on its block, as any QString holds its
// characters: a copy of a text (a widget's, a search result's) keeps the block alive after the store is
// cleared or gone, and a change to a copy makes it a string of its own. The blocks are small, because a
// string grown from a text is given room for the block's characters before it.
class TextStore {
  public:
    // Room for up to n characters at the end of the store, for a decoder that writes in place; keep()
    // then hands out the characters written from there.
    char16_t* room(qsizetype n) {
        // One more for the terminating null that every QString has.
        if (blocks_.empty() || blocks_.back().use_count() > 1 || blocks_.back()->free() < n + 1) {
            auto block = std::make_shared<Block>();
            // Left unwritten: only what keep() hands out is written.
            block->chars = QString(std::max(n + 1, block_size), Qt::Uninitialized);
            blocks_.push_back(std::move(block));
        }
        return blocks_.back()->at(blocks_.back()->used);
    }
    // The n characters written at the start of the last room() as a text of the store.
    QString keep(qsizetype n) {
        if (n <= 0) return {};
        Block& b = *blocks_.back();
        char16_t* begin = b.at(b.used);
        begin[n] = u'\0';
        b.used += n + 1;
        return share(b.chars, begin, n);
    }
    QString keep(QStringView text) {
        std::copy_n(text.utf16(), text.size(), room(text.size()));
        return keep(text.size());
    }
    // A part of a text of the store: the text's own characters when it is the text's end, a new text
    // of the store otherwise (each text ends in a null).
    QString part(const QString& text, qsizetype from, qsizetype n) {
        from = std::clamp<qsizetype>(from, 0, text.size());
        n = std::clamp<qsizetype>(n, 0, text.size() - from);
        if (n == 0) return {};
        if (from + n < text.size()) return keep(QStringView(text).sliced(from, n));
        return share(text, const_cast<char16_t*>(text.data_ptr().data()) + from, n);
    }

    // Lets go of the blocks; each lives on while a text of it does.
    void clear() { blocks_.clear(); }
    // Two stores are equal when they hold the same characters in the same order.
    bool operator==(const TextStore& other) const { return held() == other.held(); }
    // Characters the blocks can hold, for the memory figures.
    qsizetype capacity() const {
        qsizetype n = 0;
        for (const auto& b : blocks_) n += b->chars.size();
        return n;
    }

  private:
    // n characters at begin, inside the characters of owner, as a QString that holds a reference on them.
    // QString's data pointer (public, though left out of the documentation) may start inside its
    // characters, as it does after a prepend; copying it takes the reference.
    static QString share(const QString& owner, char16_t* begin, qsizetype n) {
        QString::DataPointer p = owner.data_ptr();
        p.setBegin(begin);
        p.size = n;
        return QString(std::move(p));
    }
    std::u16string held() const {
        std::u16string all;
        for (const auto& b : blocks_) all.append(b->at(0), std::size_t(b->used));
        return all;
    }

    // 4 kB: what a string grown from a text may be given beyond its own characters.
    static constexpr qsizetype block_size = 2048;
    struct Block {
        // The block's characters; the texts share them as they share any QString's.
        QString chars;
        qsizetype used = 0;
        qsizetype free() const { return chars.size() - used; }
        // Written through the shared data without detaching: the texts handed out stay where they are.
        char16_t* at(qsizetype i) const { return const_cast<char16_t*>(chars.data_ptr().data()) + i; }
    };
    std::vector<std::shared_ptr<Block>> blocks_;
};

} // namespace tomarina
