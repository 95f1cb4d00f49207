#ifndef ORV_KERNEL_NONCOPYABLE_H
#define ORV_KERNEL_NONCOPYABLE_H

namespace orv {

// Private base of a class whose objects must not be copied or assigned: the copy constructor and
// the copy assignment are inaccessible. `Owner` is the class that derives from it, so that a class
// and its base can both name NonCopyable as a private base without the two base objects being
// ambiguous (and without costing any size: each is an empty base of its own type).
template <class Owner> class NonCopyable {
protected:
    NonCopyable() = default;
    ~NonCopyable() = default;

private:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};

} // namespace orv

#endif
