#!/usr/bin/env python3
"""The kernel interface's virtual table under the Microsoft C++ ABI (MSVC, clang-cl).

Compiles a use of KernelInterfaceBase and PCKernelInterface with clang for x86_64-pc-windows-msvc,
reads clang's dump of their virtual-table layouts and compares every slot, signature included,
with the operation list of test_kernel_vtable.cpp (the list the Itanium slot test reads): the
destructor, then the 168 operations in order, then nothing. The layout needs declarations only, so
a few declarations of std::string, std::vector, std::pair and the like stand in for the Microsoft
standard library.

usage: msvc_vtable_check.py CLANG SOURCE_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

STD_STANDIN = """#pragma once
namespace std {
using size_t = decltype(sizeof 0);
template <class C> struct char_traits;
template <class T> struct allocator;
template <class C, class Tr = char_traits<C>, class A = allocator<C>> class basic_string {};
using string = basic_string<char>;
template <class T, class A = allocator<T>> class vector { public: size_t size() const; };
template <class A, class B> struct pair { A first; B second; };
template <class K, class V> class map {};
class ostream;
template <class T> struct numeric_limits { static constexpr T max() { return T(); } };
float sqrt(float);
double sqrt(double);
template <bool B, class T = void> struct enable_if {};
template <class T> struct enable_if<true, T> { using type = T; };
template <class A, class B> struct is_same { static constexpr bool value = false; };
template <class A> struct is_same<A, A> { static constexpr bool value = true; };
template <class T> struct is_standard_layout { static const bool value = __is_standard_layout(T); };
template <class T> struct is_trivially_copyable {
    static const bool value = __is_trivially_copyable(T);
};
}
"""
STD_HEADERS = ["cmath", "cstddef", "limits", "map", "ostream", "string", "type_traits", "utility",
               "vector"]
USE = """#include "orv/kernel/PCKernelInterface.h"
void use(orv::KernelInterfaceBase& k) { k.clearGeometry(); }
void use(orv::PCKernelInterface& p) { p.clearGeometry(); }
"""
TABLES = {  # the class, and the line of the dump that starts its table
    "KernelInterfaceBase": "VFTable for 'orv::KernelInterfaceBase' (",
    "PCKernelInterface": "VFTable for 'orv::KernelInterfaceBase' in 'orv::PCKernelInterface' (",
}
ENTRY = re.compile(r"\s*\d+ \| (.*?) ?orv::\w+::(~?\w+)\((.*)\)( \[.*\])?$")


def squeeze(text):
    """A C++ type or parameter list in one spelling: no orv or class qualifiers, no spaces around
    punctuation, one after each comma."""
    text = re.sub(r"\borv::|\bKernelInterfaceBase::|\bK::", "", text)
    return re.sub(r"\s*([&*<>(),])\s*", r"\1", text.strip()).replace(",", ", ")


def expected_slots(test_source):
    """The operations of the slot test's list, as 'result name(parameters)' with the kinds spelt
    out: the aliases of its legend (using X = ...;) replaced until none is left."""
    text = open(test_source).read()
    legend = dict(re.findall(r"\busing (\w+) = ([^;]+);", text))
    alias = re.compile(r"\b(" + "|".join(legend) + r")\b")

    def spell(kinds):
        for _ in range(4):  # aliases of aliases: F in E = std::pair<F, F>, PT in J = PT, K in Ty
            kinds = alias.sub(lambda m: legend[m.group(1)], kinds)
        return squeeze(kinds)

    ops = re.findall(r"\bOP\((\w+), (\w+), \(([^()]*)\)\)", text)
    return ["%s %s(%s)" % (spell(r), name, spell(args)) for r, name, args in ops]


def dumped_tables(clang, source_dir):
    with tempfile.TemporaryDirectory() as work:
        os.mkdir(os.path.join(work, "std"))
        with open(os.path.join(work, "std", "standin.h"), "w") as f:
            f.write(STD_STANDIN)
        for name in STD_HEADERS:
            with open(os.path.join(work, "std", name), "w") as f:
                f.write('#include "standin.h"\n')
        with open(os.path.join(work, "use.cpp"), "w") as f:
            f.write(USE)
        command = [clang, "--target=x86_64-pc-windows-msvc", "-std=c++17", "-nostdlibinc",
                   "-isystem", os.path.join(work, "std"), "-I", source_dir, "-Xclang",
                   "-fdump-vtable-layouts", "-S", "-emit-llvm", "-o", os.devnull,
                   os.path.join(work, "use.cpp")]
        run = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                             universal_newlines=True)
    if run.returncode != 0:
        sys.exit("clang failed:\n" + run.stderr)
    tables, current = {}, None
    for line in run.stdout.splitlines():
        heads = [cls for cls, head in TABLES.items() if line.startswith(head)]
        entry = ENTRY.match(line)
        if heads:
            current = tables.setdefault(heads[0], [])
        elif not line.strip():
            current = None
        elif current is not None and not line.endswith(" RTTI"):
            current.append("%s %s(%s)" % (squeeze(entry[1]), entry[2], squeeze(entry[3]))
                           if entry else line.strip())
    return tables


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    clang, source_dir = sys.argv[1:]
    ops = expected_slots(os.path.join(source_dir, "tests", "test_kernel_vtable.cpp"))
    if len(ops) != 168:
        sys.exit("test_kernel_vtable.cpp: 168 operations expected, %d found" % len(ops))
    tables = dumped_tables(clang, source_dir)
    failures = 0
    for cls in TABLES:
        # Slot 0 is the destructor (its scalar deleting form), then operation n in slot n.
        want, got = [" ~%s()" % cls] + ops, tables.get(cls, [])
        for slot in range(max(len(want), len(got))):
            w = want[slot] if slot < len(want) else "(nothing)"
            g = got[slot] if slot < len(got) else "(nothing)"
            if w != g:
                failures += 1
                print("%s slot %d: expected %s, dumped %s" % (cls, slot, w, g))
    print("%s: the destructor and %d operations of KernelInterfaceBase and PCKernelInterface under "
          "the Microsoft ABI, %d slots differ" % ("FAILED" if failures else "passed", len(ops),
                                                  failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
