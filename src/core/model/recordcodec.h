#pragma once

// Field-by-field byte encoding of the records: 16-bit integers little-endian, bytes as they
// are, fixed texts as their N bytes, arrays element after element, nothing between fields.
// The layout therefore never depends on the compiler's struct packing.

#include "records.h"

#include <QByteArray>
#include <type_traits>

namespace recordcodec {

template <class T> struct IsStdArray : std::false_type {};
template <class T, std::size_t N> struct IsStdArray<std::array<T, N>> : std::true_type {};
template <class T> struct IsFixedText : std::false_type {};
template <int N> struct IsFixedText<FixedText<N>> : std::true_type {};

template <class T> constexpr int sizeOf();

struct SizeCounter {
    int n = 0;
    template <class T> constexpr void operator()(const char*, const T&) { n += sizeOf<T>(); }
};

template <class T> constexpr int sizeOf() {
    if constexpr (std::is_same_v<T, i16>)
        return 2;
    else if constexpr (std::is_same_v<T, u8>)
        return 1;
    else if constexpr (IsFixedText<T>::value)
        return T::Size;
    else if constexpr (IsStdArray<T>::value)
        return int(std::tuple_size_v<T>) * sizeOf<typename T::value_type>();
    else {
        SizeCounter c;
        const T t{};
        T::visit(t, c);
        return c.n;
    }
}

struct Writer {
    unsigned char* p;
    template <class T> void operator()(const char*, const T& v) { put(v); }
    void put(i16 v) {
        *p++ = static_cast<unsigned char>(v & 0xFF);
        *p++ = static_cast<unsigned char>((v >> 8) & 0xFF);
    }
    void put(u8 v) { *p++ = v; }
    template <int N> void put(const FixedText<N>& t) {
        for (char c : t.b)
            *p++ = static_cast<unsigned char>(c);
    }
    template <class E, std::size_t N> void put(const std::array<E, N>& a) {
        for (const auto& e : a)
            put(e);
    }
    template <class R> void put(const R& r) { R::visit(r, *this); }
};

struct Reader {
    const unsigned char* p;
    template <class T> void operator()(const char*, T& v) { get(v); }
    void get(i16& v) {
        v = static_cast<i16>(p[0] | (p[1] << 8));
        p += 2;
    }
    void get(u8& v) { v = *p++; }
    template <int N> void get(FixedText<N>& t) {
        for (char& c : t.b)
            c = static_cast<char>(*p++);
    }
    template <class E, std::size_t N> void get(std::array<E, N>& a) {
        for (auto& e : a)
            get(e);
    }
    template <class R> void get(R& r) { R::visit(r, *this); }
};

// Writes rec at out, which must hold sizeOf<R>() bytes.
template <class R> void encode(const R& rec, unsigned char* out) {
    Writer w{out};
    w.put(rec);
}
template <class R> QByteArray encode(const R& rec) {
    QByteArray b(sizeOf<R>(), '\0');
    encode(rec, reinterpret_cast<unsigned char*>(b.data()));
    return b;
}
template <class R> void decode(R& rec, const unsigned char* in) {
    Reader r{in};
    r.get(rec);
}

} // namespace recordcodec

static_assert(recordcodec::sizeOf<FileHeadRec>() == 13);
static_assert(recordcodec::sizeOf<CHInfoRec>() == 60);
static_assert(recordcodec::sizeOf<FuncRec>() == 158);
static_assert(recordcodec::sizeOf<RadioDataRec>() == 1071);
