#pragma once
// Permission bits do not stop the superuser, and CI runs the tests as the superuser. These
// helpers make permission checks real there: openToEveryone opens a tree to every user, then a
// test locks what it wants out of reach, and AsUnprivilegedUser runs the rest of the scope as
// "nobody" when the process is the superuser (and changes nothing otherwise).
#include <QString>

namespace pw::test {

// Directories become rwx and files rw for everyone, throughout the tree at `path`.
void openToEveryone(const QString &path);

class AsUnprivilegedUser {
public:
    AsUnprivilegedUser();
    ~AsUnprivilegedUser();
    AsUnprivilegedUser(const AsUnprivilegedUser &) = delete;
    AsUnprivilegedUser &operator=(const AsUnprivilegedUser &) = delete;

private:
    bool switched_ = false;
};

} // namespace pw::test
