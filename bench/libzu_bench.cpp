// Each operation beside its platform counterpart (for the writers, a one-byte write() loop)
// in rows <operation>/zu/<arguments> and <operation>/platform/<arguments>; see bench/run.sh.
#include <libzu/libzu.h>

#include <benchmark/benchmark.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <string>
#include <type_traits>
#include <unistd.h>

namespace {

using Bench = benchmark::internal::Benchmark;
constexpr int64_t kLargest = int64_t{1} << 20; // sizes 1, 16, 256, 4 KiB, 64 KiB, 1 MiB

// Makes the compiler forget value and what it may point to. In a register: on a
// pointer, DoNotOptimize's "+m,r" makes g++ 14+ read a stack slot never written.
template <typename T> void keep(T &value)
{
    asm volatile("" : "+r"(value) : : "memory");
}

// The input, as the compiler must see it: new in every iteration.
const char *opaque(const std::string &text)
{
    const char *s = text.c_str();
    keep(s);
    return s;
}

std::string text_of(const benchmark::State &state) // of the row's size
{
    return std::string(static_cast<size_t>(state.range(0)), 'x');
}

// A pair runs one loop around two functions, each a template argument: here on
// the row's string, the result kept, and freed where it is a block.
template <auto op> void string_bench(benchmark::State &state)
{
    const std::string text = text_of(state);
    for (auto _ : state) {
        auto result = op(opaque(text));
        keep(result);
        if constexpr (std::is_pointer_v<decltype(result)>)
            free(result);
    }
}
char *strndup_at(const char *s, unsigned int start, size_t len)
{
    return strndup(s + start, len);
}
// A cut when the caller must first prove that start lies inside the string.
char *strnlen_strndup_at(const char *s, unsigned int start, size_t len)
{
    return strnlen(s, start) < start ? strdup("") : strndup(s + start, len);
}
// Arguments: the string's size, the cut's start and its length.
template <auto cut_out> void substr_bench(benchmark::State &state)
{
    const std::string text = text_of(state);
    for (auto _ : state) {
        char *cut = cut_out(opaque(text), static_cast<unsigned int>(state.range(1)),
                            static_cast<size_t>(state.range(2)));
        keep(cut);
        free(cut);
    }
}

template <auto allocate_zeroed> void calloc_bench(benchmark::State &state)
{
    for (auto _ : state) {
        void *block = allocate_zeroed(static_cast<size_t>(state.range(0)), 1);
        keep(block);
        free(block);
    }
}
zu_list_node *node_by_hand(void *content)
{
    auto *node = static_cast<zu_list_node *>(malloc(sizeof(zu_list_node)));
    if (node != nullptr)
        *node = {content, nullptr};
    return node;
}
template <auto make_node> void lstnew_bench(benchmark::State &state)
{
    int payload = 42;
    for (auto _ : state) {
        zu_list_node *node = make_node(&payload);
        keep(node);
        free(node);
    }
}

void write_bytes_one_by_one(const char *s, int fd)
{
    for (; *s != '\0'; s++) {
        ssize_t written = write(fd, s, 1);
        keep(written);
    }
}
// Strings of the row's size, or the digits of its number.
template <auto put_string, bool digits = false> void putstr_bench(benchmark::State &state)
{
    const int fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const std::string text = digits ? std::to_string(state.range(0)) : text_of(state);
    for (auto _ : state)
        put_string(opaque(text), fd);
    close(fd);
}

void putnbr_bench(benchmark::State &state)
{
    const int fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        keep(n);
        zu_putnbr_fd(n, fd);
    }
    close(fd);
}

void register_pairs()
{
    using Row = void (*)(benchmark::State &);
    auto pair = [](const std::string &operation, Row ours, Row platform, auto &&configure) {
        configure(benchmark::RegisterBenchmark((operation + "/zu").c_str(), ours));
        configure(benchmark::RegisterBenchmark((operation + "/platform").c_str(), platform));
    };
    auto sizes = [](Bench *b) { b->RangeMultiplier(16)->Range(1, kLargest); };

    pair("strlen", string_bench<zu_strlen>, string_bench<strlen>, sizes);
    pair("strdup", string_bench<zu_strdup>, string_bench<strdup>, sizes);
    // A 16-byte cut near the start of ever longer strings, and from their
    // middle, where the bytes before the cut must be read to prove the start.
    pair("substr", substr_bench<zu_substr>, substr_bench<strndup_at>, [](Bench *b) {
        b->ArgNames({"size", "start", "len"})->Args({16, 8, 4})->Args({16, 8, 8});
        for (int64_t size = 256; size <= kLargest; size *= 16)
            b->Args({size, 8, 16});
    });
    pair("substr_middle", substr_bench<zu_substr>, substr_bench<strnlen_strndup_at>, [](Bench *b) {
        b->ArgNames({"size", "start", "len"});
        for (int64_t size = 256; size <= kLargest; size *= 16)
            b->Args({size, size / 2, 16});
        b->Args({kLargest, kLargest / 2, kLargest / 2});
    });
    pair("calloc", calloc_bench<zu_calloc>, calloc_bench<calloc>,
         [](Bench *b) { b->Arg(16)->Arg(256)->Arg(4096)->Arg(kLargest)->Arg(16 * kLargest); });
    pair("lstnew", lstnew_bench<zu_lstnew>, lstnew_bench<node_by_hand>, [](Bench *) {});
    pair("putstr_fd", putstr_bench<zu_putstr_fd>, putstr_bench<write_bytes_one_by_one>, sizes);
    pair("putnbr_fd", putnbr_bench, putstr_bench<write_bytes_one_by_one, true>, [](Bench *b) {
        for (int n : {0, 42, -123, INT_MAX, INT_MIN})
            b->Arg(n);
    });
    // Calibration: the platform's function on both sides. Any ratio but 1.00
    // here is the machine's own noise, the floor under every row above.
    pair("same_strlen", string_bench<strlen>, string_bench<strlen>,
         [](Bench *b) { b->Arg(16)->Arg(4096); });
    pair("same_write", putstr_bench<write_bytes_one_by_one>, putstr_bench<write_bytes_one_by_one>,
         [](Bench *b) { b->Arg(16); });
}

} // namespace

int main(int argc, char **argv)
{
    // Blocks from 128 KiB up fresh from mmap in every iteration: otherwise glibc
    // raises the threshold after the first free, and large rows reuse heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    register_pairs();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
