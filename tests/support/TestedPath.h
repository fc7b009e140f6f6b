// Where a test finds a file its build named to it. The build compiles into each test the paths
// of the files it drives or reads: in its own build folder, in the shipping build's folder
// (QS_DELIVERABLES_DIR) or in the source tree. A test bundle (scripts/make-test-bundle.sh)
// carries copies of those three trees in its folders build, deliverables and source, and its
// runner names the bundle's folder in QS_TEST_BUNDLE: there a path leads into the copies.
// Elsewhere it is the path the build gave.
#pragma once

#include <cstdlib>
#include <string>

#ifndef QS_BUILD_ROOT
#error "QS_BUILD_ROOT, QS_SOURCE_ROOT and QS_DELIVERABLES_ROOT come from the test's build files"
#endif

namespace qs::test {

constexpr char kTestBundleVariable[] = "QS_TEST_BUNDLE";

inline std::string TestedPath(const std::string& path)
{
    const char* bundle = std::getenv(kTestBundleVariable);
    if (!bundle || !*bundle)
        return path;
    struct Root
    {
        std::string tree;
        const char* folder;
    };
    // The build folder may lie inside the source tree: the longest root that holds the path wins.
    const Root roots[] = {
        {QS_DELIVERABLES_ROOT, "deliverables"}, {QS_BUILD_ROOT, "build"}, {QS_SOURCE_ROOT, "source"}};
    const Root* best = nullptr;
    for (const Root& root : roots) {
        const bool inside = !root.tree.empty() && path.compare(0, root.tree.size(), root.tree) == 0
                            && (path.size() == root.tree.size() || path[root.tree.size()] == '/');
        if (inside && (!best || root.tree.size() > best->tree.size()))
            best = &root;
    }
    if (!best)
        return path;
    std::string result = std::string(bundle) + "\\" + best->folder + path.substr(best->tree.size());
    for (char& c : result) {
        if (c == '/')
            c = '\\';
    }
    return result;
}

} // namespace qs::test
