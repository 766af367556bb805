#pragma once
// Permission bits do not stop the superuser, and CI runs the tests as the superuser: while an
// AsNobody lives, the process acts as "nobody" if it is the superuser, and nothing changes
// otherwise. Standard C++ and POSIX only, for the test suites without Qt.
#include <gtest/gtest.h>
#include <unistd.h>

namespace pagewick_test {

class AsNobody {
public:
    AsNobody()
    {
        if (geteuid() != 0)
            return;
        switched_ = setegid(65534) == 0 && seteuid(65534) == 0;
        EXPECT_TRUE(switched_) << "cannot take the unprivileged identity";
    }
    ~AsNobody()
    {
        if (switched_ && (seteuid(0) != 0 || setegid(0) != 0))
            ADD_FAILURE() << "cannot return to the superuser";
    }
    AsNobody(const AsNobody &) = delete;
    AsNobody &operator=(const AsNobody &) = delete;

private:
    bool switched_ = false;
};

} // namespace pagewick_test
