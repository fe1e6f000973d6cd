#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tomarina {

// The directory's texts side by side in a few large blocks. The tables hold QStrings that refer into
// them (QString::fromRawData) instead of a heap block each: a directory of 15000 hotels has some 150000
// short texts, and a block of its own costs each text more than its characters. The blocks never move
// and are shared by copies of the store, so a text handed out stays valid as long as any copy lives.
class TextStore {
  public:
    // Room for up to n characters at the end of the store, for a decoder that writes in place; keep()
    // then hands out the characters written from there.
    char16_t* room(qsizetype n) {
        if (blocks_.empty() || blocks_.back().use_count() > 1 ||
            blocks_.back()->size - blocks_.back()->used < n) {
            const qsizetype last = blocks_.empty() ? 0 : blocks_.back()->size;
            const qsizetype size = std::max(n, std::clamp<qsizetype>(last * 2, first_block, largest_block));
            auto block = std::make_shared<Block>();
            // Left unwritten: pages no text reaches take no memory.
            block->data = std::make_unique_for_overwrite<char16_t[]>(std::size_t(size));
            block->size = size;
            blocks_.push_back(std::move(block));
        }
        return blocks_.back()->data.get() + blocks_.back()->used;
    }
    // The n characters written at the start of the last room() as a text of the store.
    QString keep(qsizetype n) {
        if (n <= 0) return {};
        Block& b = *blocks_.back();
        const char16_t* begin = b.data.get() + b.used;
        b.used += n;
        return QString::fromRawData(reinterpret_cast<const QChar*>(begin), n);
    }
    QString keep(QStringView text) {
        std::copy(text.utf16(), text.utf16() + text.size(), room(text.size()));
        return keep(text.size());
    }
    // A part of a text of the store, sharing its characters.
    static QString part(const QString& text, qsizetype from, qsizetype n) {
        from = std::clamp<qsizetype>(from, 0, text.size());
        n = std::clamp<qsizetype>(n, 0, text.size() - from);
        return n == 0 ? QString() : QString::fromRawData(text.constData() + from, n);
    }

    // Drops every block; the texts handed out must be dropped before.
    void clear() { blocks_.clear(); }
    // Two stores are equal when they hold the same characters in the same order.
    bool operator==(const TextStore& other) const { return held() == other.held(); }
    // Characters the blocks can hold, for the memory figures.
    qsizetype capacity() const {
        qsizetype n = 0;
        for (const auto& b : blocks_) n += b->size;
        return n;
    }

  private:
    std::u16string held() const {
        std::u16string all;
        for (const auto& b : blocks_) all.append(b->data.get(), std::size_t(b->used));
        return all;
    }

    static constexpr qsizetype first_block = 4096;
    static constexpr qsizetype largest_block = 256 * 1024;
    struct Block {
        std::unique_ptr<char16_t[]> data;
        qsizetype used = 0;
        qsizetype size = 0;
    };
    std::vector<std::shared_ptr<Block>> blocks_;
};

} // namespace tomarina
