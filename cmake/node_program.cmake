# springlab_node_program(target): the target, built by emscripten, becomes a
# program that node runs as `node <target>.mjs ARGS...`: its main gets the
# arguments, reads and writes the real files (NODERAWFS), writes the bytes
# of stdout and stderr as they are, and its status is node's exit status.
# Programs go to SPRINGLAB_WEB_OUTPUT_DIR, the .wasm beside the .mjs.
set(SPRINGLAB_WEB_OUTPUT_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Where the node programs are written")

function(springlab_node_program target)
    set_target_properties(${target} PROPERTIES
        SUFFIX ".mjs"
        RUNTIME_OUTPUT_DIRECTORY ${SPRINGLAB_WEB_OUTPUT_DIR})
    set(prologue ${PROJECT_SOURCE_DIR}/cli/node/prologue.mjs)
    set(run ${PROJECT_SOURCE_DIR}/cli/node/run_main.mjs)
    target_link_options(${target} PRIVATE
        -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1
        # Compiled while the module loads, so the .wasm is read from the
        # disk instead of fetched.
        -sWASM_ASYNC_COMPILATION=0
        "SHELL:--extern-pre-js ${prologue}" "SHELL:--extern-post-js ${run}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${prologue} ${run})
endfunction()
