#pragma once
// CompactString: a string of single-byte text in 16 bytes, half the size of a
// std::string. Texts of up to 15 bytes (codes, most names) are held inside
// it, longer ones in one block of their exact size. The stars of a large map
// hold a dozen texts each, so their size decides how much memory a map needs.
// Reads like a const std::string (size, data, c_str, comparisons, views);
// converts to std::string and std::string_view where those are wanted.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

class CompactString {
public:
    static constexpr std::size_t npos = std::string::npos;

    CompactString() noexcept { SetLocal(0); }
    CompactString(std::string_view s) { Init(s.data(), s.size()); }
    CompactString(const std::string& s) { Init(s.data(), s.size()); }
    CompactString(const char* s) { Init(s, std::strlen(s)); }
    CompactString(const CompactString& o) { Init(o.data(), o.size()); }
    CompactString(CompactString&& o) noexcept {
        std::memcpy(bytes_, o.bytes_, sizeof bytes_);
        o.SetLocal(0);
    }
    ~CompactString() { Free(); }

    CompactString& operator=(const CompactString& o) { return o.IsLocal() ? Copy(o) : assign(o.data(), o.size()); }
    CompactString& operator=(CompactString&& o) noexcept {
        if (this != &o) {
            Free();
            std::memcpy(bytes_, o.bytes_, sizeof bytes_);
            o.SetLocal(0);
        }
        return *this;
    }
    CompactString& operator=(std::string_view s) { return assign(s.data(), s.size()); }
    CompactString& operator=(const std::string& s) { return assign(s.data(), s.size()); }
    CompactString& operator=(const char* s) { return assign(s, std::strlen(s)); }

    CompactString& assign(const char* s, std::size_t n) {
        if (!IsLocal() && n == HeapSize()) {  // same length: the block fits
            std::memmove(HeapData(), s, n);
            return *this;
        }
        CompactString fresh(std::string_view(s, n));  // s may point into this string
        return *this = std::move(fresh);
    }
    void clear() { *this = CompactString(); }

    std::size_t size() const noexcept { return IsLocal() ? kLocal - static_cast<std::size_t>(bytes_[kLocal]) : HeapSize(); }
    std::size_t length() const noexcept { return size(); }
    bool empty() const noexcept { return size() == 0; }
    const char* data() const noexcept { return IsLocal() ? bytes_ : HeapData(); }
    const char* c_str() const noexcept { return data(); }
    const char* begin() const noexcept { return data(); }
    const char* end() const noexcept { return data() + size(); }
    char operator[](std::size_t i) const noexcept { return data()[i]; }
    char front() const noexcept { return data()[0]; }
    char back() const noexcept { return data()[size() - 1]; }

    std::string_view view() const noexcept { return {data(), size()}; }
    std::string str() const { return std::string(data(), size()); }
    operator std::string_view() const noexcept { return view(); }
    operator std::string() const { return str(); }

    std::string substr(std::size_t pos = 0, std::size_t n = npos) const { return std::string(view().substr(pos, n)); }
    std::size_t find(std::string_view s, std::size_t pos = 0) const noexcept { return view().find(s, pos); }
    std::size_t find(char c, std::size_t pos = 0) const noexcept { return view().find(c, pos); }
    int compare(std::string_view s) const noexcept { return view().compare(s); }

    friend bool operator==(const CompactString& a, std::string_view b) noexcept { return a.view() == b; }
    friend std::strong_ordering operator<=>(const CompactString& a, std::string_view b) noexcept {
        return a.view() <=> b;
    }
    friend std::ostream& operator<<(std::ostream& os, const CompactString& s) { return os << s.view(); }

private:
    // Bytes 0-14 hold a local text, byte 15 holds 15 minus its length (so a
    // text of 15 bytes ends in the 0 byte c_str needs). A long text keeps its
    // block's address in bytes 0-7, its length in bytes 8-11 and kHeap in
    // byte 15; the block holds the text and a 0 byte.
    static constexpr std::size_t kLocal = 15;
    static constexpr char kHeap = static_cast<char>(0x80);

    bool IsLocal() const noexcept { return bytes_[kLocal] != kHeap; }
    char* HeapData() const noexcept {
        char* p;
        std::memcpy(&p, bytes_, sizeof p);
        return p;
    }
    std::size_t HeapSize() const noexcept {
        std::uint32_t n;
        std::memcpy(&n, bytes_ + 8, sizeof n);
        return n;
    }
    void SetLocal(std::size_t n) noexcept {
        std::memset(bytes_, 0, sizeof bytes_);
        bytes_[kLocal] = static_cast<char>(kLocal - n);
    }
    void Init(const char* s, std::size_t n) {
        if (n <= kLocal) {
            SetLocal(n);
            if (n > 0) std::memcpy(bytes_, s, n);
            return;
        }
        if (n > UINT32_MAX) throw std::length_error("CompactString");
        char* p = new char[n + 1];
        std::memcpy(p, s, n);
        p[n] = '\0';
        const auto n32 = static_cast<std::uint32_t>(n);
        std::memset(bytes_, 0, sizeof bytes_);
        std::memcpy(bytes_, &p, sizeof p);
        std::memcpy(bytes_ + 8, &n32, sizeof n32);
        bytes_[kLocal] = kHeap;
    }
    CompactString& Copy(const CompactString& local) noexcept {
        Free();
        std::memcpy(bytes_, local.bytes_, sizeof bytes_);
        return *this;
    }
    void Free() noexcept {
        if (!IsLocal()) delete[] HeapData();
    }

    char bytes_[16];
};

inline std::string operator+(const CompactString& a, std::string_view b) {
    std::string out(a.view());
    out.append(b);
    return out;
}
inline std::string operator+(std::string_view a, const CompactString& b) {
    std::string out(a);
    out.append(b.view());
    return out;
}
inline std::string operator+(const CompactString& a, const CompactString& b) {
    return a + b.view();
}
inline std::string operator+(const std::string& a, const CompactString& b) {
    return std::string_view(a) + b;
}
inline std::string operator+(const CompactString& a, const std::string& b) {
    return a + std::string_view(b);
}
inline std::string operator+(const char* a, const CompactString& b) {
    return std::string_view(a) + b;
}
inline std::string operator+(const CompactString& a, const char* b) {
    return a + std::string_view(b);
}
