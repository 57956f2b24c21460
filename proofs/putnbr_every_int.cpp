// zu_putnbr_fd's bytes for every int, a finite domain: running it all is a
// proof. The oracle, a decimal counter stepped beside the loop, shares nothing
// with the code; snprintf checks where it ends. write() (--wrap=write) writes
// into memory, one byte a call. Negative ints and the others: a thread each.
#include "../libzu/libzu.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/types.h>

#include <thread>

static thread_local char written[16];
static thread_local size_t written_count;

extern "C" ssize_t __wrap_write(int, const void *buf, size_t count)
{
    if (count != 1 || written_count >= sizeof written)
        written_count = sizeof written + 1; // longer than any int
    else
        written[written_count++] = *static_cast<const char *>(buf);
    return static_cast<ssize_t>(count);
}

// From -1 down to INT_MIN (step -1) or from 0 up to INT_MAX; true if every
// int was written as the counter says and the counter ends as snprintf does.
static void run(int step, bool *passed)
{
    char counter[16] = {}, end[16];
    size_t first = 14, checked = 0, mismatches = 0; // counter[first..14]: the digits
    int last = step < 0 ? INT_MIN : INT_MAX;
    counter[14] = step < 0 ? '1' : '0';
    for (int n = step < 0 ? -1 : 0;; n += step, checked++) {
        size_t sign = step < 0, digits = 15 - first;
        written_count = 0;
        zu_putnbr_fd(n, 1);
        mismatches += written_count != sign + digits || (sign && written[0] != '-') ||
                      memcmp(written + sign, counter + first, digits) != 0;
        if (n == last)
            break;
        size_t i = 14;
        while (counter[i] == '9')
            counter[i--] = '0';
        counter[i] = counter[i] == '\0' ? '1' : static_cast<char>(counter[i] + 1);
        first = i < first ? i : first;
    }
    snprintf(end, sizeof end, "%d", last);
    printf("%zu ints up to %d: %zu written otherwise; the counter ends at %s\n", checked + 1, last,
           mismatches, counter + first);
    *passed =
        mismatches == 0 && checked == INT_MAX && strcmp(end + (last < 0), counter + first) == 0;
}

int main()
{
    bool negatives = false, others = false;
    std::thread below(run, -1, &negatives);
    run(+1, &others);
    below.join();
    return negatives && others ? 0 : 1;
}
