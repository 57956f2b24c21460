// zu_putnbr_fd's bytes for every int, from INT_MIN to INT_MAX: a finite
// domain, so running all of it is a proof. The oracle is a decimal counter
// stepped beside the loop (a digit string incremented with carries), which
// shares nothing with the code under test; where it ends is checked against
// snprintf. write() is replaced (-Wl,--wrap=write) by a writer into memory
// that takes one byte a call. The negative and the other ints run on a
// thread each.
#include "../libzu/libzu.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/types.h>

#include <thread>

static thread_local char written[16];
static thread_local size_t written_count;
static thread_local bool wider_write; // a write of other than one byte, or too many

extern "C" ssize_t __wrap_write(int fd, const void *buf, size_t count)
{
    (void)fd;
    if (count != 1 || written_count == sizeof written) {
        wider_write = true;
        return -1;
    }
    written[written_count++] = *static_cast<const char *>(buf);
    return 1;
}

// A decimal magnitude: its digits end the array, from digits[first] on.
struct Magnitude {
    char digits[12] = {};
    size_t first = sizeof digits - 1;

    explicit Magnitude(char units)
    {
        digits[first] = units;
    }
    void step()
    {
        size_t i = sizeof digits - 1;
        while (i >= first && digits[i] == '9')
            digits[i--] = '0';
        if (i < first)
            digits[first = i] = '1';
        else
            digits[i]++;
    }
    size_t size() const
    {
        return sizeof digits - first;
    }
};

struct Run {
    bool negative;
    unsigned long long checked = 0;
    unsigned long long mismatches = 0;
    int first_mismatch = 0;
    Magnitude last{'0'};
};

static void check(Run &run, int n, const Magnitude &m)
{
    written_count = 0;
    zu_putnbr_fd(n, 1);
    size_t sign = run.negative ? 1 : 0;
    bool same = !wider_write && written_count == sign + m.size() &&
                (sign == 0 || written[0] == '-') &&
                memcmp(written + sign, m.digits + m.first, m.size()) == 0;
    if (!same && run.mismatches++ == 0)
        run.first_mismatch = n;
    run.checked++;
}

static void every_int(Run *run)
{
    Magnitude m(run->negative ? '1' : '0');
    for (int n = run->negative ? -1 : 0;; run->negative ? n-- : n++) {
        check(*run, n, m);
        if (n == (run->negative ? INT_MIN : INT_MAX))
            break;
        m.step();
    }
    run->last = m;
}

// True if the run checked every int of its half, all of them alike, and its
// counter ended where snprintf says the half ends.
static bool passed(const Run &run, int end)
{
    char expected[16];
    snprintf(expected, sizeof expected, "%d", end);
    const char *digits = expected + (run.negative ? 1 : 0);
    bool counted = strlen(digits) == run.last.size() &&
                   memcmp(digits, run.last.digits + run.last.first, run.last.size()) == 0;
    printf(
        "%s: %llu ints checked, %llu written otherwise (the first %d); the counter ends at %s%s\n",
        run.negative ? "INT_MIN to -1" : "0 to INT_MAX", run.checked, run.mismatches,
        run.first_mismatch, run.negative ? "-" : "", run.last.digits + run.last.first);
    return run.mismatches == 0 && run.checked == 1ULL + INT_MAX && counted;
}

int main()
{
    Run negatives, others;
    negatives.negative = true;
    others.negative = false;
    std::thread below(every_int, &negatives);
    every_int(&others);
    below.join();
    bool ok = passed(negatives, INT_MIN);
    ok = passed(others, INT_MAX) && ok;
    return ok ? 0 : 1;
}
