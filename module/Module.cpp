// The module holds the library as it is: its entry points are those of
// frame/EntryPoints.cpp, pulled in by the link options beside this file, and the rest
// of the library comes with them.
