# cmake-format settings: the layout the CMake files of this tree keep (checked by the suite).
with section("parse"):
    # The project's own functions, so their keyword groups are laid out like CMake's own.
    additional_commands = {
        "qmvvlt_test": {"pargs": 1, "kwargs": {"SOURCES": "*", "LIBS": "*"}},
        "qmvvlt_cli_test": {"pargs": 1, "kwargs": {"SOURCES": "*", "LIBS": "*"}},
        "qmvvlt_bench": {"pargs": 1, "kwargs": {"SOURCES": "*", "LIBS": "*"}},
        "qmvvlt_fuzz": {"pargs": 2},
        "qmvvlt_warnings": {"pargs": 1},
    }

with section("format"):
    line_width = 100
    tab_size = 2
    max_subgroups_hwrap = 3
    max_pargs_hwrap = 8
    # A closing parenthesis on its own line, so adding to the end of a list touches one line.
    dangle_parens = True

with section("markup"):
    # Comments are prose: left as written.
    enable_markup = False
