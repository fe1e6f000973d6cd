#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace tomarina {

// The directory's texts side by side in blocks. A directory of 15000 hotels has some 150000 short
// texts, and a heap block each would cost each text more than its characters, so the tables' QStrings
// refer into shared blocks instead (QString::fromRawData). Such a string does not own its characters,
// so a block is never freed while the program runs: a copy of a text (a widget's, a search result's)
// stays readable after the store is cleared or gone, and a change to a copy makes it a string of its
// own. The program loads its directory once, so the blocks are what the directory needs anyway.
class TextStore {
  public:
    TextStore() = default;
    TextStore(const TextStore&) = default;
    TextStore& operator=(const TextStore&) = default;
    ~TextStore() { clear(); }

    // Room for up to n characters at the end of the store, for a decoder that writes in place; keep()
    // then hands out the characters written from there.
    char16_t* room(qsizetype n) {
        // One more for a terminating null, so that each text ends as a QString's characters do. A block
        // another store shares (a copy of this one) is not written.
        if (blocks_.empty() || blocks_.back().chars.use_count() > 1 || blocks_.back().free() < n + 1) {
            const qsizetype size = std::max(n + 1, block_size);
            // Left unwritten: only what keep() hands out is written.
            blocks_.push_back(Block{std::shared_ptr<char16_t[]>(new char16_t[std::size_t(size)]), size, 0});
        }
        Block& b = blocks_.back();
        return b.chars.get() + b.used;
    }
    // The n characters written at the start of the last room() as a text of the store.
    QString keep(qsizetype n) {
        if (n <= 0) return {};
        Block& b = blocks_.back();
        char16_t* begin = b.chars.get() + b.used;
        begin[n] = u'\0';
        b.used += n + 1;
        return raw(begin, n);
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
        const auto* begin = reinterpret_cast<const char16_t*>(text.constData()) + from;
        if (from + n < text.size() || !holds(begin)) return keep(QStringView(text).sliced(from, n));
        return raw(begin, n);
    }

    // Lets go of the blocks: they stay until the program ends, as texts of them may still be read.
    void clear() {
        if (blocks_.empty()) return;
        const std::lock_guard lock(retired_mutex());
        for (Block& b : blocks_) retired().push_back(std::move(b.chars));
        blocks_.clear();
    }
    // Two stores are equal when they hold the same characters in the same order.
    bool operator==(const TextStore& other) const { return held() == other.held(); }
    // Characters the blocks can hold, for the memory figures.
    qsizetype capacity() const {
        qsizetype n = 0;
        for (const Block& b : blocks_) n += b.size;
        return n;
    }

  private:
    static QString raw(const char16_t* begin, qsizetype n) {
        return QString::fromRawData(reinterpret_cast<const QChar*>(begin), n);
    }
    // Whether the characters at p are in this store's blocks.
    bool holds(const char16_t* p) const {
        for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it)
            if (std::less_equal<>()(it->chars.get(), p) && std::less<>()(p, it->chars.get() + it->used))
                return true;
        return false;
    }
    std::u16string held() const {
        std::u16string all;
        for (const Block& b : blocks_) all.append(b.chars.get(), std::size_t(b.used));
        return all;
    }
    // The blocks of stores cleared or gone, kept for the texts that refer into them. Never destroyed,
    // so that a store that outlives the others at the program's end can still hand its blocks over.
    static std::vector<std::shared_ptr<char16_t[]>>& retired() {
        static auto* blocks = new std::vector<std::shared_ptr<char16_t[]>>;
        return *blocks;
    }
    static std::mutex& retired_mutex() {
        static auto* m = new std::mutex;
        return *m;
    }

    static constexpr qsizetype block_size = 2048;
    struct Block {
        std::shared_ptr<char16_t[]> chars;
        qsizetype size = 0;
        qsizetype used = 0;
        qsizetype free() const { return size - used; }
    };
    std::vector<Block> blocks_;
};

} // namespace tomarina
