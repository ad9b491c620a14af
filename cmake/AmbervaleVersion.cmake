# The one version of the program is the project's version; these files carry it to the places that need it.

# Writes AmbervaleVersion.h (for the version resource) and Ambervale.manifest into out_dir, for the
# version given as major.minor.patch.
function(ambervale_version_files out_dir version)
  string(REPLACE "." ";" parts "${version}")
  list(GET parts 0 AMBERVALE_VERSION_MAJOR)
  list(GET parts 1 AMBERVALE_VERSION_MINOR)
  list(GET parts 2 AMBERVALE_VERSION_PATCH)
  set(AMBERVALE_VERSION "${version}")
  set(AMBERVALE_VERSION_QUAD "${version}.0")
  configure_file(${PROJECT_SOURCE_DIR}/app/AmbervaleVersion.h.in ${out_dir}/AmbervaleVersion.h @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/app/Ambervale.manifest.in ${out_dir}/Ambervale.manifest @ONLY)
endfunction()

# The version after this one, for tests of upgrading: the patch number plus one.
function(ambervale_next_version version out_var)
  string(REPLACE "." ";" parts "${version}")
  list(GET parts 2 patch)
  math(EXPR patch "${patch} + 1")
  list(GET parts 0 major)
  list(GET parts 1 minor)
  set(${out_var} "${major}.${minor}.${patch}" PARENT_SCOPE)
endfunction()
