#pragma once

// Forms the operator identity "Sorvanta - user\\computer" into modGlobal::UsuarioSesion.
// False (after telling the operator) when neither name can be had: the program must not run.
bool GetUserData();
