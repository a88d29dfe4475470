# SPDX-License-Identifier: MIT
# Installs the build in BUILD under the prefix /usr into the folder STAGE,
# which is emptied first.
file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                COMMAND_ERROR_IS_FATAL ANY)
