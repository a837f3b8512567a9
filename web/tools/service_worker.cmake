# Writes the site's service worker (OUTPUT) from its template (TEMPLATE): the
# files it caches are the site's FILES in SITE_DIR, and its cache is named by
# their hash, so that any change to the site makes a new worker and a new
# cache.
set(names ${FILES})
list(SORT names)
set(hashes "")
set(quoted "'./'")
foreach(name IN LISTS names)
    file(SHA256 ${SITE_DIR}/${name} hash)
    string(APPEND hashes "${name} ${hash}\n")
    string(APPEND quoted ", '${name}'")
endforeach()
string(SHA256 site_hash "${hashes}")
string(SUBSTRING ${site_hash} 0 16 site_hash)
file(READ ${TEMPLATE} worker)
string(REPLACE "@SITE_HASH@" "${site_hash}" worker "${worker}")
string(REPLACE "@SITE_FILES@" "${quoted}" worker "${worker}")
file(WRITE ${OUTPUT}.new "${worker}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
