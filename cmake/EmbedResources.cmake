# Turns every file resources/<kind>/<name>.<ext> into bytes compiled into the
# program, looked up at run time by (kind, name). Run as a script:
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -P EmbedResources.cmake
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*/*)
list(SORT files)

set(blobs "")
set(table "")
set(count 0)
foreach(rel IN LISTS files)
    get_filename_component(kind ${rel} DIRECTORY)
    get_filename_component(name ${rel} NAME_WE)
    file(READ ${SOURCE_DIR}/${rel} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # The extra NUL lets text resources be read as C strings; it is not counted.
    string(APPEND blobs "const unsigned char kBlob${count}[] = {${bytes}0};\n")
    string(APPEND table "    {\"${kind}\", \"${name}\", kBlob${count}, ${size}},\n")
    math(EXPR count "${count} + 1")
endforeach()

if(count EQUAL 0)
    set(table "    {\"\", \"\", nullptr, 0},\n")
endif()

file(WRITE ${OUTPUT}.tmp
"// Generated from resources/ at build time; do not edit.
#include \"resources/resource_blobs.h\"

namespace
{
${blobs}
const brvl::resources::ResourceBlob kBlobs[] = {
${table}};
} // namespace

std::span<const brvl::resources::ResourceBlob> brvl::resources::AllResourceBlobs()
{
    return std::span<const ResourceBlob>(kBlobs, ${count});
}
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
