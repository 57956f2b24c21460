// Each operation beside its platform counterpart on the same inputs. Rows are
// named <operation>/zu/<size> and <operation>/platform/<size>; after the run
// a table gives the ratio of the two times per size (the median when run with
// repetitions).
//
// The descriptor writers are measured against the floor for any unbuffered
// writer: a plain loop of one-byte write() calls over the same bytes.
#include <libzu/libzu.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr int64_t kSmallest = 1;
constexpr int64_t kLargest = int64_t{1} << 20; // sizes 1, 16, 256, 4 KiB, 64 KiB, 1 MiB

std::string text_of(int64_t size)
{
    return std::string(static_cast<size_t>(size), 'x');
}

// Makes the compiler forget what it knows of value, and of the memory it may
// point to, and count both as used. Only a register: the "+m,r" constraint of
// benchmark::DoNotOptimize on a pointer makes g++ 14 and later read it back
// from a stack slot it never wrote.
template <typename T> void keep(T &value)
{
    asm volatile("" : "+r"(value) : : "memory");
}

// The string as the compiler must see it: new in every iteration.
const char *opaque(const std::string &text)
{
    const char *s = text.c_str();
    keep(s);
    return s;
}

void set_bytes(benchmark::State &state, int64_t bytes_per_iteration)
{
    state.SetBytesProcessed(state.iterations() * bytes_per_iteration);
}

// Each benchmark takes the operation as a template argument, so that a pair
// runs the very same loop around two functions.

template <auto measure> void strlen_bench(benchmark::State &state)
{
    const std::string text = text_of(state.range(0));
    for (auto _ : state) {
        size_t length = measure(opaque(text));
        keep(length);
    }
    set_bytes(state, state.range(0));
}

template <auto duplicate> void strdup_bench(benchmark::State &state)
{
    const std::string text = text_of(state.range(0));
    for (auto _ : state) {
        char *copy = duplicate(opaque(text));
        keep(copy);
        free(copy);
    }
    set_bytes(state, state.range(0));
}

char *strndup_at(const char *s, unsigned int start, size_t len)
{
    return strndup(s + start, len);
}

// What a cut from inside a string costs when the caller must first prove that
// start lies inside it, as zu_substr does.
char *strnlen_strndup_at(const char *s, unsigned int start, size_t len)
{
    if (strnlen(s, start) < start)
        return strdup("");
    return strndup(s + start, len);
}

// Arguments: the string's size, the cut's start and its length.
template <auto cut_out> void substr_bench(benchmark::State &state)
{
    const std::string text = text_of(state.range(0));
    const auto start = static_cast<unsigned int>(state.range(1));
    const auto len = static_cast<size_t>(state.range(2));
    for (auto _ : state) {
        char *cut = cut_out(opaque(text), start, len);
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
    set_bytes(state, state.range(0));
}

zu_list_node *node_by_hand(void *content)
{
    auto *node = static_cast<zu_list_node *>(malloc(sizeof(zu_list_node)));
    if (node != nullptr) {
        node->content = content;
        node->next = nullptr;
    }
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

// ---- descriptor output to /dev/null

struct DevNull {
    int fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    DevNull() = default;
    DevNull(const DevNull &) = delete;
    DevNull &operator=(const DevNull &) = delete;
    ~DevNull()
    {
        close(fd);
    }
};

// The floor: one write() per byte, nothing else.
void write_bytes_one_by_one(const char *s, int fd)
{
    for (; *s != '\0'; s++) {
        ssize_t written = write(fd, s, 1);
        keep(written);
    }
}

template <auto put_string> void putstr_bench(benchmark::State &state)
{
    const DevNull out;
    const std::string text = text_of(state.range(0));
    for (auto _ : state)
        put_string(opaque(text), out.fd);
    set_bytes(state, state.range(0));
}

// The argument is the number; the floor writes its digits prepared beforehand.
void putnbr_zu(benchmark::State &state)
{
    const DevNull out;
    int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        keep(n);
        zu_putnbr_fd(n, out.fd);
    }
}

void putnbr_platform(benchmark::State &state)
{
    const DevNull out;
    const std::string digits = std::to_string(state.range(0));
    for (auto _ : state)
        write_bytes_one_by_one(opaque(digits), out.fd);
}

// Each pair is registered together so that its two rows run one after the
// other. Returns the operations in the order they were registered.
std::vector<std::string> register_pairs()
{
    using Function = void (*)(benchmark::State &);
    std::vector<std::string> operations;
    auto pair = [&operations](const char *operation, Function ours, Function platform,
                              auto &&configure) {
        operations.emplace_back(operation);
        configure(benchmark::RegisterBenchmark((std::string(operation) + "/zu").c_str(), ours));
        configure(
            benchmark::RegisterBenchmark((std::string(operation) + "/platform").c_str(), platform));
    };
    auto sizes = [](benchmark::internal::Benchmark *b) {
        b->RangeMultiplier(16)->Range(kSmallest, kLargest);
    };
    auto nothing = [](benchmark::internal::Benchmark *) {};

    pair("strlen", strlen_bench<zu_strlen>, strlen_bench<strlen>, sizes);
    pair("strdup", strdup_bench<zu_strdup>, strdup_bench<strdup>, sizes);
    // A 16-byte cut near the start of ever longer strings, and from their
    // middle, where the bytes before the cut must be read to prove the start.
    pair("substr", substr_bench<zu_substr>, substr_bench<strndup_at>,
         [](benchmark::internal::Benchmark *b) {
             b->ArgNames({"size", "start", "len"})->Args({16, 8, 4})->Args({16, 8, 8});
             for (int64_t size = 256; size <= kLargest; size *= 16)
                 b->Args({size, 8, 16});
         });
    pair("substr_middle", substr_bench<zu_substr>, substr_bench<strnlen_strndup_at>,
         [](benchmark::internal::Benchmark *b) {
             b->ArgNames({"size", "start", "len"});
             for (int64_t size = 256; size <= kLargest; size *= 16)
                 b->Args({size, size / 2, 16});
             b->Args({kLargest, kLargest / 2, kLargest / 2});
         });
    pair("calloc", calloc_bench<zu_calloc>, calloc_bench<calloc>,
         [](benchmark::internal::Benchmark *b) {
             b->Arg(16)->Arg(256)->Arg(4096)->Arg(kLargest)->Arg(16 * kLargest);
         });
    pair("lstnew", lstnew_bench<zu_lstnew>, lstnew_bench<node_by_hand>, nothing);
    pair("putstr_fd", putstr_bench<zu_putstr_fd>, putstr_bench<write_bytes_one_by_one>, sizes);
    pair("putnbr_fd", putnbr_zu, putnbr_platform, [](benchmark::internal::Benchmark *b) {
        for (int n : {0, 42, -123, INT_MAX, INT_MIN})
            b->Arg(n);
    });
    // Calibration: the platform's function on both sides. Any ratio but 1.00
    // here is the machine's own noise, the floor under every row above.
    pair("same_strlen", strlen_bench<strlen>, strlen_bench<strlen>,
         [](benchmark::internal::Benchmark *b) { b->Arg(16)->Arg(4096); });
    pair("same_write", putstr_bench<write_bytes_one_by_one>, putstr_bench<write_bytes_one_by_one>,
         [](benchmark::internal::Benchmark *b) { b->Arg(16); });
    return operations;
}

// Google Benchmark 1.8 replaced Run::error_occurred by Run::skipped, and
// took --benchmark_min_time with a unit ("0.1s"), which 1.9 asks for and 1.7
// rejects. Both are told apart by the first.
template <typename Run> constexpr auto reports_skipped(int) -> decltype(Run::skipped, true)
{
    return true;
}
template <typename Run> constexpr bool reports_skipped(long)
{
    return false;
}
constexpr bool benchmark_1_8 = reports_skipped<benchmark::BenchmarkReporter::Run>(0);

template <typename Run> bool skipped(const Run &run)
{
    if constexpr (reports_skipped<Run>(0))
        return run.skipped != 0;
    else
        return run.error_occurred;
}

// Spells --benchmark_min_time as the library in use reads it, so that either
// spelling works with either version: with the unit "s" from 1.8 on, without
// it before. The new spellings are kept in storage.
void spell_min_time(int argc, char **argv, std::vector<std::string> &storage)
{
    const std::string flag = "--benchmark_min_time=";
    storage.reserve(static_cast<size_t>(argc));
    for (int i = 1; i < argc; i++) {
        const std::string argument = argv[i];
        if (argument.rfind(flag, 0) != 0 || argument.size() == flag.size())
            continue;
        const bool has_unit = argument.back() == 's' || argument.back() == 'x';
        if (benchmark_1_8 && !has_unit)
            storage.push_back(argument + 's');
        else if (!benchmark_1_8 && argument.back() == 's')
            storage.push_back(argument.substr(0, argument.size() - 1));
        else
            continue;
        argv[i] = storage.back().data();
    }
}

// Where a row of ours stands in the table: its operation's place among the
// registered ones, then its arguments as numbers ("size:256" counts as 256).
std::pair<size_t, std::vector<int64_t>> table_order(const std::vector<std::string> &operations,
                                                    const std::string &name)
{
    const size_t slash = name.find('/');
    const std::string operation = name.substr(0, slash);
    const size_t place = static_cast<size_t>(
        std::find(operations.begin(), operations.end(), operation) - operations.begin());
    std::vector<int64_t> arguments;
    for (size_t at = name.find('/', slash + 1); at != std::string::npos;
         at = name.find('/', at + 1)) {
        const size_t colon = name.find(':', at);
        const size_t next = name.find('/', at + 1);
        const size_t value = colon != std::string::npos && colon < next ? colon + 1 : at + 1;
        arguments.push_back(std::stoll(name.substr(value, next - value)));
    }
    return {place, arguments};
}

// Passes everything to the console and keeps one time per row: the median
// where there are repetitions, else the single run.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Colour only for a terminal.
    explicit RatioReporter(std::vector<std::string> operations)
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular),
          operations_(std::move(operations))
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (skipped(run))
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            const std::string name = run.run_name.str();
            if (median || times_.count(name) == 0)
                times_[name] = run.GetAdjustedRealTime();
        }
    }

    // One line per pair, in the order of registration and of the arguments,
    // however the rows were interleaved: "ratio <row> <zu> <platform> <ratio>".
    void print_ratios() const
    {
        std::vector<std::string> ours_rows;
        for (const auto &[name, time] : times_) {
            if (name.find("/zu") != std::string::npos)
                ours_rows.push_back(name);
        }
        std::sort(ours_rows.begin(), ours_rows.end(), [this](const auto &a, const auto &b) {
            return table_order(operations_, a) < table_order(operations_, b);
        });

        printf("\n%-6s %-52s %14s %14s %8s\n", "", "ours / platform", "zu (ns)", "platform (ns)",
               "ratio");
        const std::string marker = "/zu";
        for (const std::string &name : ours_rows) {
            size_t at = name.find(marker);
            if (at == std::string::npos)
                continue;
            std::string platform_name = name;
            platform_name.replace(at, marker.size(), "/platform");
            auto platform = times_.find(platform_name);
            if (platform == times_.end())
                continue;
            const double ours = times_.at(name);
            std::string row = name;
            row.erase(at, marker.size());
            printf("%-6s %-52s %14.1f %14.1f %8.2f\n", "ratio", row.c_str(), ours, platform->second,
                   ours / platform->second);
        }
    }

  private:
    std::vector<std::string> operations_;
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char **argv)
{
    // A fixed threshold keeps blocks from 128 KiB up fresh from mmap on every
    // iteration; otherwise glibc raises it after the first free and the large
    // rows would measure reused heap instead.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);

    std::vector<std::string> operations = register_pairs();
    std::vector<std::string> respelled;
    spell_min_time(argc, argv, respelled);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(std::move(operations));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_ratios();
    benchmark::Shutdown();
    return 0;
}
