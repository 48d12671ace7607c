#include "ObjectStream.h"

#include "DefineUniverse.h"
#include "Extended.h"
#include "Manager.h"
#include "Properties.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

namespace hexlane {

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

// Value type bytes of the stream.
enum ValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaLString = 12,
};

// A map tree is four levels deep; anything much deeper is not a map.
constexpr int kMaxDepth = 32;

struct ReadError {};

// ---------------------------------------------------------------------------
// Input: bytes from memory or from a file read in large chunks. Every length
// taken from the stream is checked against what is left before anything is
// allocated for it.
class Input {
public:
    explicit Input(std::string_view bytes)
        : pos_(bytes.data()), end_(bytes.data() + bytes.size()), left_(bytes.size()) {}
    Input(std::FILE* file, std::uint64_t size) : file_(file), left_(size) { storage_.resize(kChunk); }

    std::uint64_t Remaining() const { return left_; }

    std::uint8_t Byte() {
        Ensure(1);
        --left_;
        return static_cast<std::uint8_t>(*pos_++);
    }
    std::uint8_t Peek() {
        Ensure(1);
        return static_cast<std::uint8_t>(*pos_);
    }
    // A view of the next n bytes (n <= kChunk), valid until the next read.
    std::string_view View(std::size_t n) {
        Ensure(n);
        std::string_view v(pos_, n);
        pos_ += n;
        left_ -= n;
        return v;
    }
    // The next n bytes: a view into the input when they fit in one chunk,
    // else gathered in `spill`.
    std::string_view Text(std::size_t n, std::string& spill) {
        if (n <= kChunk) return View(n);
        String(n, spill);
        return spill;
    }
    void String(std::size_t n, std::string& out) {
        if (n > left_) throw ReadError{};
        out.clear();
        out.reserve(n);
        while (n > 0) {
            const std::size_t part = std::min<std::size_t>(n, kChunk);
            out.append(View(part));
            n -= part;
        }
    }

private:
    static constexpr std::size_t kChunk = 1 << 16;

    void Ensure(std::size_t n) {
        if (static_cast<std::size_t>(end_ - pos_) >= n) return;
        if (!file_ || n > left_) throw ReadError{};
        const std::size_t have = static_cast<std::size_t>(end_ - pos_);
        if (have > 0) std::memmove(storage_.data(), pos_, have);
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk - have, left_ - have));
        const std::size_t got = std::fread(storage_.data() + have, 1, want, file_);
        pos_ = storage_.data();
        end_ = pos_ + have + got;
        if (have + got < n) throw ReadError{};
    }

    std::FILE* file_ = nullptr;
    std::vector<char> storage_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    std::uint64_t left_ = 0;  // bytes not yet consumed
};

bool IsIdentifier(std::string_view s) {
    if (s.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(s[0])) return false;
    return std::all_of(s.begin() + 1, s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// ---------------------------------------------------------------------------
class Reader {
public:
    explicit Reader(Input& in, bool absentIsDefault = false) : in_(in), absentIsDefault_(absentIsDefault) {}

    void Signature() {
        if (in_.View(4) != std::string_view(kSignature, 4)) throw ReadError{};
    }

    // The root record into an existing object: its class name is ignored.
    void RootInto(TManager& root) {
        in_.View(in_.Byte());  // class name
        root.Name = in_.View(in_.Byte());
        Properties(root);
        Children(root, 1);
    }

    std::unique_ptr<TManager> NewRoot() {
        std::unique_ptr<TManager> obj = CreateFromClassName(/*allowUniverse=*/true);
        obj->Name = in_.View(in_.Byte());
        if (!obj->Name.empty() && !IsIdentifier(obj->Name)) throw ReadError{};
        Properties(*obj);
        Children(*obj, 1);
        return obj;
    }

private:
    std::unique_ptr<TManager> CreateFromClassName(bool allowUniverse) {
        const std::uint8_t len = in_.Byte();
        // A first byte of 0xF0-0xFF would be a record flags prefix; a class
        // name is never empty.
        if (len == 0 || len >= 0xF0) throw ReadError{};
        const ClassInfo* cls = FindRegisteredClass(in_.View(len));
        if (!cls) throw ReadError{};
        if (!allowUniverse && cls == &TUniverse::StaticClass()) throw ReadError{};
        return cls->Create();
    }

    void Children(TManager& parent, int depth) {
        if (depth > kMaxDepth) throw ReadError{};
        std::unordered_set<std::string> names;  // lower-case names of named siblings
        for (;;) {
            if (in_.Peek() == 0) {
                in_.Byte();
                return;
            }
            std::unique_ptr<TManager> obj = CreateFromClassName(/*allowUniverse=*/false);
            const std::string_view name = in_.View(in_.Byte());
            if (!name.empty()) {
                if (!IsIdentifier(name) || !names.insert(Lower(name)).second) throw ReadError{};
            }
            TManager* child = parent.Adopt(std::move(obj));
            child->Name = name;
            Properties(*child);
            Children(*child, depth + 1);
        }
    }

    std::int64_t Integer(std::uint8_t type) {
        switch (type) {
        case vaInt8:
            return static_cast<std::int8_t>(in_.Byte());
        case vaInt16: {
            std::string_view b = in_.View(2);
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(
                static_cast<std::uint8_t>(b[0]) | (static_cast<std::uint8_t>(b[1]) << 8)));
        }
        case vaInt32: {
            std::string_view b = in_.View(4);
            std::uint32_t u = 0;
            for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
            return static_cast<std::int32_t>(u);
        }
        default:
            throw ReadError{};
        }
    }

    static bool IsIntegerType(std::uint8_t t) { return t == vaInt8 || t == vaInt16 || t == vaInt32; }

    void Properties(TManager& obj) {
        const ClassInfo& cls = obj.Class();
        if (absentIsDefault_)
            for (const PropInfo& p : cls.Props)
                if (p.Stored && p.IsOrdinal() && p.Default != kNoDefault && p.SetOrd) p.SetOrd(obj, p.Default);
        std::size_t next = 0;  // where the class table's next property is likely to be
        for (;;) {
            const std::uint8_t len = in_.Byte();
            if (len == 0) return;
            std::string_view name = in_.View(len);
            const PropInfo* prop = cls.FindProp(name, next);
            if (!prop) {
                // The framework's design position is accepted and ignored.
                if (!SameText(name, "Left") && !SameText(name, "Top")) throw ReadError{};
                Integer(in_.Byte());
                continue;
            }
            if (!prop->Writable()) throw ReadError{};
            const std::uint8_t type = in_.Byte();
            switch (prop->Kind) {
            case PropKind::Integer:
            case PropKind::Byte:
                prop->SetOrd(obj, Integer(type));
                break;
            case PropKind::Colour:
                if (type == vaIdent) {
                    std::int32_t c;
                    if (!IdentToColour(in_.View(in_.Byte()), c)) throw ReadError{};
                    prop->SetOrd(obj, c);
                } else {
                    prop->SetOrd(obj, Integer(type));
                }
                break;
            case PropKind::Boolean:
                if (type == vaFalse || type == vaTrue) {
                    prop->SetOrd(obj, type == vaTrue);
                } else if (type == vaIdent) {
                    std::string_view id = in_.View(in_.Byte());
                    if (SameText(id, "False")) prop->SetOrd(obj, 0);
                    else if (SameText(id, "True")) prop->SetOrd(obj, 1);
                    else throw ReadError{};
                } else {
                    throw ReadError{};
                }
                break;
            case PropKind::Enumeration: {
                if (type != vaIdent) throw ReadError{};
                std::string_view id = in_.View(in_.Byte());
                auto it = std::find_if(prop->EnumNames.begin(), prop->EnumNames.end(),
                                       [&](std::string_view n) { return SameText(n, id); });
                if (it == prop->EnumNames.end()) throw ReadError{};
                prop->SetOrd(obj, it - prop->EnumNames.begin());
                break;
            }
            case PropKind::Double:
                if (type == vaExtended) {
                    std::string_view b = in_.View(10);
                    prop->SetDouble(obj, ExtendedToDouble(reinterpret_cast<const std::uint8_t*>(b.data())));
                } else if (IsIntegerType(type)) {
                    prop->SetDouble(obj, static_cast<double>(Integer(type)));
                } else {
                    throw ReadError{};
                }
                break;
            case PropKind::String:
                if (type == vaString) {
                    prop->SetString(obj, in_.View(in_.Byte()));
                } else if (type == vaLString) {
                    std::string_view b = in_.View(4);
                    std::uint32_t n = 0;
                    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
                    std::string spill;
                    prop->SetString(obj, in_.Text(n, spill));
                } else {
                    throw ReadError{};
                }
                break;
            case PropKind::Char:
                throw ReadError{};
            }
        }
    }

    Input& in_;
    bool absentIsDefault_ = false;  // a missing property takes its declared default
};

// ---------------------------------------------------------------------------
class Output {
public:
    explicit Output(std::string& buffer, std::FILE* file = nullptr) : buf_(buffer), file_(file) {}

    void Byte(std::uint8_t b) { buf_.push_back(static_cast<char>(b)); }
    // Out of line: inlined into the callers, which bound the size, the copy
    // becomes a "rep movs" that costs more than a call of memcpy.
    [[gnu::noinline]] void Bytes(const void* p, std::size_t n) { buf_.append(static_cast<const char*>(p), n); }
    void ShortString(std::string_view s) {
        s = s.substr(0, 255);
        Byte(static_cast<std::uint8_t>(s.size()));
        Bytes(s.data(), s.size());
    }
    void Integer(std::int64_t v) {
        if (v >= -128 && v <= 127) {
            Byte(vaInt8);
            Byte(static_cast<std::uint8_t>(v));
        } else if (v >= -32768 && v <= 32767) {
            Byte(vaInt16);
            LittleEndian(static_cast<std::uint32_t>(v), 2);
        } else {
            Byte(vaInt32);
            LittleEndian(static_cast<std::uint32_t>(v), 4);
        }
    }
    void LittleEndian(std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    // Hands full chunks to the file as the buffer grows.
    bool MaybeFlush(bool force = false) {
        if (!file_ || (!force && buf_.size() < (1u << 16))) return true;
        const bool ok = std::fwrite(buf_.data(), 1, buf_.size(), file_) == buf_.size();
        buf_.clear();
        return ok;
    }

private:
    std::string& buf_;
    std::FILE* file_;
};

class Writer {
public:
    explicit Writer(Output& out) : out_(out) {}

    bool Object(const TManager& obj) {
        Head(obj);
        for (const auto& child : obj.Children())
            if (!Object(*child)) return false;
        out_.Byte(0);
        return out_.MaybeFlush();
    }

    // The record up to its children: class name, object name, stored
    // properties and the byte that ends them.
    void Head(const TManager& obj) {
        const ClassInfo& cls = obj.Class();
        out_.ShortString(cls.Name);
        out_.ShortString(obj.Name);
        for (const PropInfo& p : cls.Props)
            if (p.Stored) Property(obj, p);
        out_.Byte(0);
    }

private:
    // Writes a stored property unless WritesValue would leave it out; each
    // value is read once, as reading goes through the property's accessor.
    void Property(const TManager& obj, const PropInfo& p) {
        switch (p.Kind) {
        case PropKind::Integer:
        case PropKind::Byte:
        case PropKind::Colour:
        case PropKind::Boolean:
        case PropKind::Enumeration: {
            const std::int64_t v = p.GetOrd(obj);
            if (v == p.Default) return;
            out_.ShortString(p.Name);
            if (p.Kind == PropKind::Boolean) {
                out_.Byte(v ? vaTrue : vaFalse);
            } else if (p.Kind == PropKind::Enumeration) {
                out_.Byte(vaIdent);
                out_.ShortString(static_cast<std::size_t>(v) < p.EnumNames.size()
                                     ? p.EnumNames[static_cast<std::size_t>(v)]
                                     : std::string_view{});
            } else if (const char* ident = p.Kind == PropKind::Colour
                                               ? ColourToIdent(static_cast<std::int32_t>(v))
                                               : nullptr) {
                out_.Byte(vaIdent);
                out_.ShortString(ident);
            } else {
                out_.Integer(v);
            }
            return;
        }
        case PropKind::Double: {
            const double v = p.GetDouble(obj);
            if (v == 0.0) return;
            out_.ShortString(p.Name);
            out_.Byte(vaExtended);
            const Extended80 e = DoubleToExtended(v);
            out_.Bytes(e.data(), e.size());
            return;
        }
        case PropKind::String: {
            std::string copy;
            const std::string_view s = p.ViewString ? p.ViewString(obj) : std::string_view(copy = p.GetString(obj));
            if (s.empty()) return;
            out_.ShortString(p.Name);
            if (s.size() <= 255) {
                out_.Byte(vaString);
                out_.ShortString(s);
            } else {
                out_.Byte(vaLString);
                out_.LittleEndian(static_cast<std::uint32_t>(s.size()), 4);
                out_.Bytes(s.data(), s.size());
            }
            return;
        }
        case PropKind::Char:
            return;  // read only, never stored
        }
    }

    Output& out_;
};

}  // namespace

void WriteObjectStream(const TManager& root, std::string& out) {
    Output o(out);
    o.Bytes(kSignature, 4);
    Writer(o).Object(root);
}

void WriteObjectHead(const TManager& object, std::string& out) {
    Output o(out);
    Writer(o).Head(object);
}

void WriteObjectRecord(const TManager& object, std::string& out) {
    Output o(out);
    Writer(o).Object(object);
}

bool WriteObjectStream(const TManager& root, std::FILE* file) {
    std::string buffer;
    Output o(buffer, file);
    o.Bytes(kSignature, 4);
    return Writer(o).Object(root) && o.MaybeFlush(true);
}

bool ReadObjectStreamInto(TManager& root, std::string_view bytes) {
    try {
        Input in(bytes);
        Reader r(in);
        r.Signature();
        r.RootInto(root);
        return true;
    } catch (const ReadError&) {
        return false;
    }
}

bool ReadObjectStreamInto(TManager& root, std::FILE* file, std::uint64_t fileSize) {
    try {
        Input in(file, fileSize);
        Reader r(in);
        r.Signature();
        r.RootInto(root);
        return true;
    } catch (const ReadError&) {
        return false;
    }
}

std::unique_ptr<TManager> ReadObjectStream(std::string_view bytes, bool absentIsDefault) {
    try {
        Input in(bytes);
        Reader r(in, absentIsDefault);
        r.Signature();
        return r.NewRoot();
    } catch (const ReadError&) {
        return nullptr;
    }
}

}  // namespace hexlane
