// Every allocation failed in turn: the loop the library's and the programs'
// allocation-failure tests share.
#ifndef ZU_TESTS_FAIL_IN_TURN_H
#define ZU_TESTS_FAIL_IN_TURN_H

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace zu_test {

// Calls attempt(once, nth) for nth = 1, 2, ..., first with the nth
// allocation failed once, then with it and every later one failed, until an
// attempt says that no allocation failed (it returns how many did). Returns
// the number of attempts that had one fail.
template <typename Attempt>
size_t fail_each_allocation_in_turn(const std::string &name, Attempt attempt)
{
    size_t injected = 0;
    for (bool once : {true, false}) {
        for (size_t nth = 1;; nth++) {
            SCOPED_TRACE(name + (once ? ", failed once at " : ", failed from ") +
                         std::to_string(nth));
            if (attempt(once, nth) == 0)
                break;
            injected++;
            if (nth == 100) {
                ADD_FAILURE() << "the allocator never stopped failing";
                break;
            }
        }
    }
    return injected;
}

} // namespace zu_test

#endif
