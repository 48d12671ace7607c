#pragma once
// Growable arrays of fixed-size elements used by every stage of the formula
// compiler: the intermediate item lists, the emitted code bytes, the constant
// pool and small integer lists. Elements are copied in and out by value.

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

// Bytes that carry an extended value: the ten significant bytes of the x87
// 80-bit format where long double is that format, else the whole long double.
inline constexpr int kExtendedBytes =
    std::numeric_limits<long double>::digits == 64 ? 10 : static_cast<int>(sizeof(long double));

// Raised by a TArray for an index out of range (-12) or an impossible capacity (-14).
class EArrayError : public std::runtime_error {
public:
    explicit EArrayError(int code);
    int Code;
};

// Growable array of elements of ElementSize bytes; grows in steps of 8 elements.
// Used directly as the constant pool (one extended value per element).
class TArray {
public:
    explicit TArray(int elementSize = kExtendedBytes);
    TArray(const TArray&) = delete;
    TArray& operator=(const TArray&) = delete;
    TArray(TArray&& other) noexcept;
    TArray& operator=(TArray&& other) noexcept;
    virtual ~TArray();

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    int ElementSize() const { return elementSize_; }
    const std::uint8_t* Data() const { return data_; }

    int Add(const void* element);
    void Insert(int i, const void* element);
    void Get(int i, void* element) const;
    void Put(int i, const void* element);
    void Delete(int i);
    void Clear();
    int IndexOf(const void* element) const;
    void SetCapacity(int n);

    virtual void Grow();
    [[noreturn]] virtual void Error(int code) const;

    // Typed access for the constant pool (element size kExtendedBytes).
    int AddValue(long double v);
    int IndexOfValue(long double v) const;
    long double ValueAt(int i) const;

protected:
    std::uint8_t* At(int i) const { return data_ + static_cast<std::size_t>(i) * elementSize_; }
    void CheckIndex(int i) const;

    std::uint8_t* data_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    int elementSize_;
};

// One item of the compiler's intermediate form.
struct ExprItem {
    char Kind = 0;
    std::int32_t Index = 0;
    long double Value = 0;
};

// List of ExprItems, each packed as kind (1 byte), index (4 bytes), value.
class TInternalExprArray : public TArray {
public:
    TInternalExprArray();
    int AddItem(const ExprItem& item);
    int AddItem(char kind, std::int32_t index, long double value = 0);
    void InsertItem(int i, const ExprItem& item);
    ExprItem Item(int i) const;
    char Kind(int i) const;
    std::int32_t Index(int i) const;
    long double Value(int i) const;
    void SetIndex(int i, std::int32_t index);
    void SetValue(int i, long double value);
};

// Byte buffer of emitted code; 32-bit values are stored least significant byte first.
class TCodeArray : public TArray {
public:
    TCodeArray();
    int AddByte(std::uint8_t b);
    int AddInt32(std::int32_t v);
    int AddBytes(const void* bytes, int n);
    void InsertInt32(int pos, std::int32_t v);
    std::int32_t ReadInt32(int pos) const;
};

// List of signed 32-bit integers.
class TIntArray : public TArray {
public:
    TIntArray();
    int AddInt(std::int32_t v);
    std::int32_t Read(int i) const;
};

// Packs an extended value into its stored bytes and back.
void PackExtended(long double v, std::uint8_t* out);
long double UnpackExtended(const std::uint8_t* in);
