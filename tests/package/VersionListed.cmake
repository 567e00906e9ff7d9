# cmake -DVERSION=3.2 -DMETAINFO=file -DCHANGELOG=file -P VersionListed.cmake
# Fails unless the AppStream entry has a release of VERSION and the changelog starts with it.
file(READ ${METAINFO} metainfo)
string(FIND "${metainfo}" "<release version=\"${VERSION}\"" release)
file(STRINGS ${CHANGELOG} changelog LIMIT_COUNT 1)
string(FIND "${changelog}" "(${VERSION})" entry)
if(release LESS 0 OR entry LESS 0)
  message(FATAL_ERROR "version ${VERSION}: a release in ${METAINFO}? ${release}; "
    "the first entry of ${CHANGELOG}? ${entry} (-1: no)")
endif()
