#include "cli_dispatch.hpp"

int main(int argc, char** argv) { return kalvex::process_main(argc, argv); }
