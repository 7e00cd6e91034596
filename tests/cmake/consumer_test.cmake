# Builds and runs tests/cmake/consumer twice: against a tree installed from
# KOVRIX_BINARY_DIR into a fresh prefix under WORK_DIR, and with kovrix added
# as a subdirectory from KOVRIX_SOURCE_DIR.
# and imports the installed Python package (PYTHON3, PYTHON_DIR) without help.
#   cmake -DKOVRIX_SOURCE_DIR=... -DKOVRIX_BINARY_DIR=... -DWORK_DIR=... -P consumer_test.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    list(JOIN ARGN " " cmd)
    message(FATAL_ERROR "failed (${rc}): ${cmd}")
  endif()
endfunction()

set(consumer ${KOVRIX_SOURCE_DIR}/tests/cmake/consumer)
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${prefix})
run(${CMAKE_COMMAND} --install ${KOVRIX_BINARY_DIR} --prefix ${prefix})

# The installed Python package finds the installed library by itself.
if(PYTHON3 AND PYTHON_DIR)
  run(${CMAKE_COMMAND} -E env --unset=KOVRIX_LIBRARY PYTHONPATH=${prefix}/${PYTHON_DIR} PYTHONDONTWRITEBYTECODE=1
      ${PYTHON3} -c "import kovrix; assert str(kovrix.BigInt(3) ** 50) == '717897987691852588770249'")
endif()

foreach(from package subdirectory)
  set(build ${WORK_DIR}/${from})
  run(${CMAKE_COMMAND} -S ${consumer} -B ${build} -G "${CMAKE_GENERATOR}" -DCMAKE_BUILD_TYPE=Release
      -DKOVRIX_FROM=${from} -DCMAKE_PREFIX_PATH=${prefix} -DKOVRIX_SOURCE_DIR=${KOVRIX_SOURCE_DIR})
  run(${CMAKE_COMMAND} --build ${build} -j 2)
  run(${build}/consumer)
  if(EXISTS ${build}/consumer_static)
    run(${build}/consumer_static)
  endif()
endforeach()
if(NOT EXISTS ${WORK_DIR}/subdirectory/consumer_static)
  message(FATAL_ERROR "the static library was not built from the subdirectory")
endif()
