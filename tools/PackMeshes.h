#pragma once
#include "MeshBuilder.h"

#include <string>

// Builds the generated meshes into `dataDir`: the tank's hull.mesh, turret.mesh
// and barrel.mesh, the unit sphere.mesh of the shells, the finer unit
// fireball.mesh of the explosions and the sky.mesh that the background hangs on.
// The skeletons in the repository's data/ place them. False if a file failed.
bool writePackMeshes(const std::string& dataDir);

// The shell's and the fireball's unit spheres, which the contact sheet shows too.
MeshBuilder makeShellMesh();
MeshBuilder makeFireballMesh();
