#include "FCArray.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

EArrayError::EArrayError(int code)
    : std::runtime_error("TArray error. Code " + std::to_string(code)), Code(code) {}

void PackExtended(long double v, std::uint8_t* out) {
    std::memcpy(out, &v, kExtendedBytes);
}

long double UnpackExtended(const std::uint8_t* in) {
    long double v = 0;
    std::memcpy(&v, in, kExtendedBytes);
    return v;
}

TArray::TArray(int elementSize) : elementSize_(elementSize) {}

TArray::TArray(TArray&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      count_(std::exchange(other.count_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      elementSize_(other.elementSize_) {}

TArray& TArray::operator=(TArray&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = std::exchange(other.data_, nullptr);
        count_ = std::exchange(other.count_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        elementSize_ = other.elementSize_;
    }
    return *this;
}

TArray::~TArray() { std::free(data_); }

void TArray::Error(int code) const { throw EArrayError(code); }

void TArray::CheckIndex(int i) const {
    if (i < 0 || i >= count_) Error(-12);
}

void TArray::Grow() { SetCapacity(capacity_ + 8); }

void TArray::SetCapacity(int n) {
    if (n < count_ || static_cast<long long>(n) * elementSize_ > 2147483646LL) Error(-14);
    if (n == capacity_) return;
    if (n == 0) {
        std::free(data_);
        data_ = nullptr;
        capacity_ = 0;
        return;
    }
    void* p = std::realloc(data_, static_cast<std::size_t>(n) * elementSize_);
    if (!p) throw std::bad_alloc();
    data_ = static_cast<std::uint8_t*>(p);
    capacity_ = n;
}

int TArray::Add(const void* element) {
    if (count_ == capacity_) Grow();
    std::memcpy(At(count_), element, elementSize_);
    return count_++;
}

void TArray::Insert(int i, const void* element) {
    if (i < 0 || i > count_) Error(-12);
    if (count_ == capacity_) Grow();
    std::memmove(At(i + 1), At(i), static_cast<std::size_t>(count_ - i) * elementSize_);
    std::memcpy(At(i), element, elementSize_);
    ++count_;
}

void TArray::Get(int i, void* element) const {
    CheckIndex(i);
    std::memcpy(element, At(i), elementSize_);
}

void TArray::Put(int i, const void* element) {
    CheckIndex(i);
    std::memcpy(At(i), element, elementSize_);
}

void TArray::Delete(int i) {
    CheckIndex(i);
    std::memmove(At(i), At(i + 1), static_cast<std::size_t>(count_ - i - 1) * elementSize_);
    --count_;
}

void TArray::Clear() {
    count_ = 0;
    SetCapacity(0);
}

int TArray::IndexOf(const void* element) const {
    for (int i = 0; i < count_; ++i)
        if (std::memcmp(At(i), element, elementSize_) == 0) return i;
    return -1;
}

int TArray::AddValue(long double v) {
    std::uint8_t buf[sizeof(long double)] = {};
    PackExtended(v, buf);
    return Add(buf);
}

int TArray::IndexOfValue(long double v) const {
    std::uint8_t buf[sizeof(long double)] = {};
    PackExtended(v, buf);
    return IndexOf(buf);
}

long double TArray::ValueAt(int i) const {
    CheckIndex(i);
    return UnpackExtended(At(i));
}

// ---- TInternalExprArray ----

namespace {
constexpr int kItemBytes = 5 + kExtendedBytes;

void PackItem(const ExprItem& item, std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(item.Kind);
    std::memcpy(out + 1, &item.Index, 4);
    PackExtended(item.Value, out + 5);
}
}  // namespace

TInternalExprArray::TInternalExprArray() : TArray(kItemBytes) {}

int TInternalExprArray::AddItem(const ExprItem& item) {
    std::uint8_t buf[kItemBytes + 8];
    PackItem(item, buf);
    return Add(buf);
}

int TInternalExprArray::AddItem(char kind, std::int32_t index, long double value) {
    return AddItem(ExprItem{kind, index, value});
}

void TInternalExprArray::InsertItem(int i, const ExprItem& item) {
    std::uint8_t buf[kItemBytes + 8];
    PackItem(item, buf);
    Insert(i, buf);
}

ExprItem TInternalExprArray::Item(int i) const {
    CheckIndex(i);
    const std::uint8_t* p = At(i);
    ExprItem item;
    item.Kind = static_cast<char>(p[0]);
    std::memcpy(&item.Index, p + 1, 4);
    item.Value = UnpackExtended(p + 5);
    return item;
}

char TInternalExprArray::Kind(int i) const {
    CheckIndex(i);
    return static_cast<char>(At(i)[0]);
}

std::int32_t TInternalExprArray::Index(int i) const {
    CheckIndex(i);
    std::int32_t v;
    std::memcpy(&v, At(i) + 1, 4);
    return v;
}

long double TInternalExprArray::Value(int i) const {
    CheckIndex(i);
    return UnpackExtended(At(i) + 5);
}

void TInternalExprArray::SetIndex(int i, std::int32_t index) {
    CheckIndex(i);
    std::memcpy(At(i) + 1, &index, 4);
}

void TInternalExprArray::SetValue(int i, long double value) {
    CheckIndex(i);
    PackExtended(value, At(i) + 5);
}

// ---- TCodeArray ----

TCodeArray::TCodeArray() : TArray(1) {}

int TCodeArray::AddByte(std::uint8_t b) { return Add(&b); }

int TCodeArray::AddInt32(std::int32_t v) {
    const int pos = count_;
    const auto u = static_cast<std::uint32_t>(v);
    for (int k = 0; k < 4; ++k) AddByte(static_cast<std::uint8_t>(u >> (8 * k)));
    return pos;
}

int TCodeArray::AddBytes(const void* bytes, int n) {
    const int pos = count_;
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    for (int k = 0; k < n; ++k) AddByte(p[k]);
    return pos;
}

void TCodeArray::InsertInt32(int pos, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int k = 3; k >= 0; --k) {
        const auto b = static_cast<std::uint8_t>(u >> (8 * k));
        Insert(pos, &b);
    }
}

std::int32_t TCodeArray::ReadInt32(int pos) const {
    if (pos < 0 || pos + 4 > count_) Error(-12);
    std::uint32_t u = 0;
    for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(data_[pos + k]) << (8 * k);
    return static_cast<std::int32_t>(u);
}

// ---- TIntArray ----

TIntArray::TIntArray() : TArray(4) {}

int TIntArray::AddInt(std::int32_t v) { return Add(&v); }

std::int32_t TIntArray::Read(int i) const {
    std::int32_t v;
    Get(i, &v);
    return v;
}
