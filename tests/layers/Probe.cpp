// A source of a target that links one library: the first header is one that
// the library gives the target, the second one that the target must not see.
#include PROBEX_PERMITTED
#include PROBEX_FORBIDDEN
